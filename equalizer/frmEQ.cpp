#include "equalizer/frmEQ.h"

#include "settings/Catalogue.h"

using equalizer::EqCurve;
using equalizer::SpeakerModel;

frmEQ::frmEQ(const platform::Services& sys, ui::UiServices ui)
    : ui::Form("frmEQ", ui),
      store_(*sys.reg),
      writer_(sys, [this](const std::string& text, const std::string& title, int style) { msgBox(text, title, style); }) {
    setCaption("Equalizer Settings");
    setClientSize(5040, 2280);

    // Layout, in twips.
    Label14.place("EQ Preset", {120, 240, 1575, 255});
    cboEQPreset.place("", {1800, 240, 3135, 315});
    cboSpComp.place("", {1800, 600, 3135, 315});
    cboMARLO.place("", {1800, 600, 3135, 315});
    Label5.place("&Analog EQ Channel", {120, 960, 1665, 255});
    cboAnalogEQ.place("", {1800, 960, 3135, 315});
    Frame1.place("Equalizer", {120, 1440, 2295, 735});
    optEQ[0].place("On", {120, 360, 975, 255}, &Frame1);
    optEQ[1].place("Off", {1200, 360, 975, 255}, &Frame1);
    cmdOK.place("OK", {3720, 1800, 1215, 375});
    // Every change is already written, so Enter and Esc both just close.
    cmdOK.isDefault = true;
    cmdOK.isCancel = true;

    for (EqCurve c : equalizer::kPresetCurves) cboEQPreset.addItem(equalizer::name(c));
    cboEQPreset.addItem("User");
    cboEQPreset.addItem("Speaker Compensation");
    for (SpeakerModel m : equalizer::kAllSpeakers) cboSpComp.addItem(equalizer::name(m));
    for (EqCurve c : equalizer::kUserCurves) cboMARLO.addItem(equalizer::name(c));
    for (const char* line : equalizer::kAnalogLines) cboAnalogEQ.addItem(line);

    // Neither lower list belongs to presets 0-4, nor to an unreadable preset.
    for (ui::ComboList* l : {&cboSpComp, &cboMARLO}) {
        l->setEnabled(false);
        l->setVisible(false);
    }

    cboEQPreset.Click = [this] { cboEQPreset_Click(); };
    cboMARLO.Click = [this] { cboMARLO_Click(); };
    cboSpComp.Click = [this] { cboSpComp_Click(); };
    cboAnalogEQ.Click = [this] { cboAnalogEQ_Click(); };
    optEQ.Click = [this](int index) { optEQ_Click(index); };
    cmdOK.Click = [this] { cmdOK_Click(); };
    // No QueryClose: the close box gives the main window back like OK.
}

void frmEQ::Form_Load() {
    presetNumber_ = store_.fetch(settings::PresetNumber()).toInt16();
    eqBypass_ = store_.fetch(settings::EqBypass()).toInt16();
    analogSrcLine_ = store_.fetch(settings::AnalogEQSrcLine()).toInt16();
    analogEnableState_ = store_.fetch(settings::AnalogEQEnableState()).toInt16();
    supportAnalogEQ_ = store_.fetch(settings::SupportAnalogEQ()).toInt16();

    if (eqBypass_ == 0) optEQ.select(0);
    else if (eqBypass_ == 1) optEQ.select(1);

    // A preset past the list is refused by the list; a negative one would
    // only clear a choice that is not there yet.
    if (presetNumber_ && *presetNumber_ >= 0) cboEQPreset.setListIndex(*presetNumber_);

    if (cboEQPreset.listIndex() == equalizer::kPresetUser) showOnly(cboMARLO, cboSpComp);
    if (cboEQPreset.listIndex() == equalizer::kPresetSpeakerComp) {
        showOnly(cboSpComp, cboMARLO);
        speakerModel_ = store_.fetch(settings::CurrSpeakerComp()).toText();
        for (int i = 0; i < cboSpComp.listCount(); ++i)
            if (platform::storedTextIs(speakerModel_, cboSpComp.item(i))) cboSpComp.setListIndex(i);
    }

    // The list shows the three analog values together; if one of them is
    // not a number, leave it empty rather than overwrite them.
    if (supportAnalogEQ_ && analogEnableState_ && analogSrcLine_) {
        if (*supportAnalogEQ_ == 1 && *analogEnableState_ == 1) {
            if (*analogSrcLine_ >= 0 && *analogSrcLine_ < equalizer::kAnalogLineCount) cboAnalogEQ.setListIndex(*analogSrcLine_ + 1);
        } else if (*supportAnalogEQ_ == 1 || *supportAnalogEQ_ == 0) {
            cboAnalogEQ.setListIndex(0);
        }
    }
}

void frmEQ::cboEQPreset_Click() {
    const int k = cboEQPreset.listIndex();
    if (k < 0) return;
    store_.store(settings::PresetNumber(), k);
    if (k < equalizer::kPresetUser) {
        hideLists();
        writer_.ApplyEqPreset(equalizer::kPresetCurves[k]);
    } else if (k == equalizer::kPresetUser) {
        showOnly(cboMARLO, cboSpComp);
    } else {
        store_.store(settings::ControlPanelPageConfig(), equalizer::kPageConfig);
        store_.store(settings::EqBypass(), 0);
        store_.store(settings::ActiveCoefSet(), 0);
        showOnly(cboSpComp, cboMARLO);
    }
}

void frmEQ::cboMARLO_Click() {
    const int k = cboMARLO.listIndex();
    if (k < 0) return;
    writer_.ApplyEqPreset(equalizer::kUserCurves[k]);
}

void frmEQ::cboSpComp_Click() {
    const int k = cboSpComp.listIndex();
    if (k < 0) return;  // the choice was cleared, nothing was chosen
    store_.store(settings::PresetNumber(), equalizer::kPresetSpeakerComp);
    store_.store(settings::CurrSpeakerComp(), cboSpComp.item(k));
    writer_.ApplySpeakerComp(equalizer::kAllSpeakers[k]);
}

void frmEQ::cboAnalogEQ_Click() {
    const int k = cboAnalogEQ.listIndex();
    if (k < 0) return;
    store_.store(settings::SupportAnalogEQ(), k == 0 ? 0 : 1);
    store_.store(settings::AnalogEQSrcLine(), k == 0 ? equalizer::kNoAnalogLine : k - 1);
    store_.store(settings::AnalogEQEnableState(), k == 0 ? 0 : 1);
}

void frmEQ::optEQ_Click(int index) {
    if (index == 0 || index == 1) store_.store(settings::EqBypass(), index);
}

void frmEQ::cmdOK_Click() { giveBack(); }

void frmEQ::hideLists() {
    for (ui::ComboList* l : {&cboSpComp, &cboMARLO}) {
        l->setEnabled(false);
        l->setVisible(false);
        // A hidden list forgets its choice: shown again later it must not
        // claim a set that has since been replaced.
        l->setListIndex(-1);
    }
}

void frmEQ::showOnly(ui::ComboList& shown, ui::ComboList& hidden) {
    hidden.setEnabled(false);
    hidden.setVisible(false);
    hidden.setListIndex(-1);
    shown.setEnabled(true);
    shown.setVisible(true);
}
