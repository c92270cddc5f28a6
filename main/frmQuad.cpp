#include "main/frmQuad.h"

#include <iterator>
#include <memory>

#include "ui/Images.h"

frmQuad::frmQuad(const platform::Services& sys, ui::UiServices ui) : ui::Form("frmQuad", ui), store_(*sys.reg) {
    setCaption("Quad Settings");
    setClientSize(4440, 2475);

    // Layout, in twips.
    chkShare.place("&Share Front and Rear Output Jacks", {720, 240, 3600, 255});
    Frame1.place("Quad Codec Output Mode", {720, 720, 3600, 1080});
    optQuad[0].place("&Stereo", {240, 300, 1440, 255}, &Frame1);
    optQuad[1].place("&Quad", {240, 660, 1440, 255}, &Frame1);
    cmdOK.place("OK", {3225, 1980, 1095, 375});
    cmdOK.isDefault = true;
    cmdOK.isCancel = true;
    Image1.place("", {120, 120, 480, 480});
    Image1.image = ui::IMG_QUAD;
    lblQuad.place("", {2100, 2040, 1020, 255});
    Label1.place("Current Mode:", {720, 2040, 1320, 255});

    chkShare.Click = [this] { chkShare_Click(); };
    optQuad.Click = [this](int index) { optQuad_Click(index); };
    cmdOK.Click = [this] { cmdOK_Click(); };
}

void frmQuad::Form_Load() {
    using settings::QuadCodecOutputModeState;
    using settings::SetGPIO0InQuad;
    const platform::SettingValue mode = store_.fetch(QuadCodecOutputModeState());
    modeText_ = mode.toText();
    platform::SettingValue share = store_.fetch(SetGPIO0InQuad());
    shareText_ = share.toText();

    // A missing mode reads as 0, stereo, as the driver takes it.
    showMode(mode.toInt16());

    if (store_.createIfMissing(SetGPIO0InQuad(), !shareText_.empty())) {
        share = store_.fetch(SetGPIO0InQuad());
        shareText_ = share.toText();
    }
    // A stored value the box cannot show leaves it unticked and is not rewritten.
    if (auto state = share.toInt16()) chkShare.setValue(*state);
    // The option buttons stay unselected: the label tells the stored mode.
}

void frmQuad::showMode(std::optional<std::int16_t> mode) {
    if (mode && *mode >= 0 && *mode < std::int16_t(std::size(kQuadModes))) lblQuad.setCaption(kQuadModes[*mode]);
    else lblQuad.setCaption("Unknown");
}

void frmQuad::optQuad_Click(int index) {
    const std::int16_t mode = index == 0 ? 0 : 1;
    modeText_ = std::to_string(mode);
    store_.store(settings::QuadCodecOutputModeState(), platform::SettingValue(std::int32_t(mode)));
    showMode(mode);
}

void frmQuad::chkShare_Click() {
    shareText_ = std::to_string(chkShare.value());
    store_.store(settings::SetGPIO0InQuad(), platform::SettingValue(std::int32_t(chkShare.value())));
}

void frmQuad::cmdOK_Click() { giveBack(); }

void OpenQuadSettings(ui::Form& mainWindow, const platform::Services& sys, ui::UiServices ui) {
    const int answer = mainWindow.msgBox("These settings may not work on your card.  Do you wish to continue?",
                                         "Information", ui::MB_YESNO_);
    if (answer != ui::ID_YES) {
        // Each opening creates the dialog afresh, so there is none to close.
        mainWindow.setEnabled(true);
        mainWindow.show();
        return;
    }
    ui::Form& quad = mainWindow.openDialog(std::make_unique<frmQuad>(sys, ui));
    ui::Form& over = quad.loaded() ? quad : mainWindow;
    over.msgBox(
        "The Quad options have been moved here because they appear to cause all sound to disappear on some "
        "systems.  Only continue if you know how to recover from this.  The AC97 Mixer is the best solution to get "
        "Shared Front and Rear Output.",
        "Information", ui::MB_INFORMATION_);
}
