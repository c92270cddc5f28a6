#include "main/frmMain.h"

#include <optional>

#include "platform/modFileVer.h"
#include "platform/modWinVersion.h"
#include "settings/Catalogue.h"
#include "ui/Images.h"

namespace {

// The tab pages, in the order of kTabs.
enum Page { kGeneral, kMidi, kA3D, kAC97, kDigital };

const char* const kTabs[] = {"General", "MIDI", "A3D Settings", "AC'97 Controls", "EQ/Digital I/O"};
const char* const kTools[] = {"Volume Control", "Sound Recorder",   "Media Player",       "AC97 Mixer",
                              "Multimedia",     "Game Controllers", "DirectX Diagnostics"};
const char* const kEffects1[] = {"None",        "Delay",   "Room reverb", "Chamber reverb", "Hall reverb",
                                 "Chorus",      "Cabinet", "Flange",      "Distortion",     "Wah-Wah"};
const char* const kEffects2[] = {"None",        "Delay",   "Room reverb", "Chamber reverb", "Hall reverb",
                                 "Cabinet",     "Chorus",  "Flange",      "Distortion",     "Wah-Wah"};

const char* const kNotXP =
    "You don't appear to be running Windows XP.  This control panel will only work with Windows XP.  Please use "
    "the Control Panel application included with the drivers for your operating system.  You may use the Override "
    "button if you're sure that you're running XP.";

}  // namespace

using mainwin::Box;
using mainwin::Effect;
using mainwin::Level;

namespace {

// The members of MainBindings.h's rows, in their order.
#define QM_MAIN_BOX_MEMBER(box, ...) &frmMain::box,
ui::CheckBox frmMain::* const kBoxMembers[] = {QM_MAIN_BOXES(QM_MAIN_BOX_MEMBER)};
#undef QM_MAIN_BOX_MEMBER

template <class Bar>
struct RangeMembers {
    Bar frmMain::*bar;
    ui::Label frmMain::*label;
};
#define QM_MAIN_RANGE_MEMBERS(bar, label, ...) {&frmMain::bar, &frmMain::label},
const RangeMembers<ui::HScrollBar> kLevelMembers[] = {QM_MAIN_LEVELS(QM_MAIN_RANGE_MEMBERS)};
const RangeMembers<ui::Slider> kEffectMembers[] = {QM_MAIN_EFFECTS(QM_MAIN_RANGE_MEMBERS)};
#undef QM_MAIN_RANGE_MEMBERS

}  // namespace

ui::CheckBox& frmMain::box(Box b) { return this->*kBoxMembers[std::size_t(b)]; }
ui::HScrollBar& frmMain::bar(Level l) { return this->*kLevelMembers[std::size_t(l)].bar; }
ui::Slider& frmMain::slider(Effect e) { return this->*kEffectMembers[std::size_t(e)].bar; }
ui::Label& frmMain::label(Level l) { return this->*kLevelMembers[std::size_t(l)].label; }
ui::Label& frmMain::label(Effect e) { return this->*kEffectMembers[std::size_t(e)].label; }

frmMain::frmMain(const platform::Services& sys, ui::UiServices ui)
    : ui::Form("frmMain", ui), sys_(sys), store_(*sys.reg) {
    setCaption("Quillmere");
    setClientSize(5520, 5160);
    buildLayout();
    fillLists();
    wireHandlers();
    // Greyed until the settings are loaded (not before "Override" off XP).
    auto loaded = [this] { return settingsLoaded_; };
    addSystemCommand("&Back Up Settings...", [this] { mnuBackUp_Click(); }, loaded);
    addSystemCommand("Res&tore Settings...", [this] { mnuRestore_Click(); }, loaded);
    addSystemCommand("&Undo Changes Since Start", [this] { mnuUndo_Click(); }, loaded);
}

// Rectangles are in twips (15 to the pixel at 96 DPI), relative to the frame
// given as container, else to the tab strip for a control on a tab page,
// else to the client area. The four speaker pictures share one place on
// purpose: only one of them is visible at a time.
void frmMain::buildLayout() {
    SSTab1.place("", {105, 105, 5310, 4470});
    // General
    ListView1.place("", {150, 450, 5010, 2250}, nullptr, kGeneral);
    chkPlayA3D.place("&Play A3D splash audio.", {150, 2850, 3300, 255}, nullptr, kGeneral, "Controls whether or not a sound will be played whenever A3D is initialised.");
    chkA3DSplash.place("&Show A3D splash screen.", {150, 3165, 3300, 255}, nullptr, kGeneral, "Controls whether or not the A3D logo will be shown whenever A3D is initialised.");
    chkTray.place("Show Tray Icon", {150, 3480, 3300, 255}, nullptr, kGeneral, "Determines whether the system tray control will be loaded");
    cmdWPCRSET.place("Configure WPCRSET", {150, 3945, 1860, 345}, nullptr, kGeneral);
    Image1.place("", {3840, 2850, 1320, 1440}, nullptr, kGeneral);
    // MIDI
    Frame1.place("Effect &1", {150, 450, 2430, 1290}, nullptr, kMidi);
    cboEffect1.place("", {150, 300, 2130, 315}, &Frame1);
    hsbEffect1.place("", {90, 750, 1680, 420}, &Frame1, -1, "MIDI Reverb Level");
    lblEffect1.place("0", {1830, 855, 450, 195}, &Frame1);
    Frame2.place("Effect &2", {2730, 450, 2430, 1290}, nullptr, kMidi);
    cmdEffect2.place("", {150, 300, 2130, 315}, &Frame2);
    hsbEffect2.place("", {90, 750, 1680, 420}, &Frame2, -1, "MIDI Chorus Level");
    lblEffect2.place("0", {1830, 855, 450, 195}, &Frame2);
    chkMIDIfx.place("&Turn Effects On", {150, 1920, 3000, 255}, nullptr, kMidi, "Enables the Wavetable Effects, which by default are set to Reverb and Chorus.");
    chkHighPerfMIDI.place("High Performance MIDI", {150, 2235, 3000, 255}, nullptr, kMidi);
    Label4.place("&Wavetable Mode:", {150, 2730, 1650, 195}, nullptr, kMidi);
    cboWavetableMode.place("", {1860, 2670, 1470, 315}, nullptr, kMidi, "Controls the Polyphony for using MIDI.  In hardware, there are only 64 voices.");
    Image3.place("", {3480, 1920, 1680, 1080}, nullptr, kMidi);
    // A3D Settings
    Frame7.place("A3D Type", {150, 450, 5010, 1440}, nullptr, kA3D);
    cboA3DType.place("", {180, 360, 2400, 315}, &Frame7, -1, "A3D Type");
    imgPhones.place("", {3540, 210, 1320, 1110}, &Frame7);
    imgSat.place("", {3540, 210, 1320, 1110}, &Frame7);
    imgMon.place("", {3540, 210, 1320, 1110}, &Frame7);
    imgQuad.place("", {3540, 210, 1320, 1110}, &Frame7);
    Label1.place("Driver Version", {150, 2160, 1680, 195}, nullptr, kA3D);
    txtDrvVer.place("NA", {1890, 2115, 1650, 315}, nullptr, kA3D);
    cmdDrvVerHlp.place("?", {3630, 2100, 345, 345}, nullptr, kA3D);
    Label2.place("A3D.DLL Version", {150, 2580, 1680, 195}, nullptr, kA3D);
    txtA3DVer.place("NA", {1890, 2535, 1650, 315}, nullptr, kA3D);
    Label3.place("A3DAPI.DLL Version", {150, 3000, 1680, 195}, nullptr, kA3D);
    txtA3DAPI.place("NA", {1890, 2955, 1650, 315}, nullptr, kA3D);
    cmdAboutA3D.place("About A3D", {150, 3945, 1500, 345}, nullptr, kA3D);
    cmdQuad.place("Quad Settings", {1740, 3945, 1500, 345}, nullptr, kA3D);
    Image2.place("", {4110, 2100, 1050, 1170}, nullptr, kA3D);
    // AC'97 Controls
    chkST3D.place("&Disable SigmaTel 3D Surround Enhancement", {150, 450, 4500, 255}, nullptr, kAC97, "Disables AC'97 codec built-in 3D effect");
    chkAttenuation.place("&Enable SigmaTel ST9704 Attenuation", {150, 750, 4500, 255}, nullptr, kAC97);
    chkLA4Inv.place("ST9708LA&4 Rear Phase Inversion", {150, 1050, 4500, 255}, nullptr, kAC97, "Corrects for phase inversion with 4.1 speaker sets");
    chkLA2Inv.place("ST&9708LA2 Rear Phase Inversion", {150, 1350, 4500, 255}, nullptr, kAC97, "Corrects for phase inversion with 4.1 speaker sets");
    Label5.place("+12db", {1830, 1770, 630, 195}, nullptr, kAC97);
    Label6.place("0db", {2490, 1770, 360, 195}, nullptr, kAC97);
    Label7.place("-34.5dB", {3270, 1770, 810, 195}, nullptr, kAC97);
    Label8.place("PCM 1 Out Level", {150, 2070, 1620, 195}, nullptr, kAC97);
    hsbPCM1.place("", {1830, 2040, 2250, 255}, nullptr, kAC97);
    lblPCM1.place("Label13", {4170, 2070, 600, 195}, nullptr, kAC97);
    Label9.place("PCM 2 Out Level", {150, 2490, 1620, 195}, nullptr, kAC97);
    hsbPCM2.place("", {1830, 2460, 2250, 255}, nullptr, kAC97);
    lblPCM2.place("Label14", {4170, 2490, 600, 195}, nullptr, kAC97);
    Label10.place("AC'97 Front Output", {150, 2910, 1620, 195}, nullptr, kAC97);
    hsbFront.place("", {1830, 2880, 2250, 255}, nullptr, kAC97);
    lblFront.place("Label15", {4170, 2910, 600, 195}, nullptr, kAC97);
    cmdAC97Help.place("?", {4815, 2835, 345, 345}, nullptr, kAC97);
    Label11.place("AC'97 Rear Output", {150, 3330, 1620, 195}, nullptr, kAC97);
    hsbRear.place("", {1830, 3300, 2250, 255}, nullptr, kAC97);
    lblRear.place("Label16", {4170, 3330, 600, 195}, nullptr, kAC97);
    // EQ/Digital I/O
    Frame3.place("Output Rate", {150, 450, 5010, 750}, nullptr, kDigital);
    optDigOut[0].place("&32 kHz", {180, 330, 1350, 255}, &Frame3, -1, "Set S/PDIF Sampling Rate to 32kHz (for older MiniDisc recorders)");
    optDigOut[1].place("&44.1 kHz", {1830, 330, 1350, 255}, &Frame3, -1, "Set S/PDIF to CD Quality (for CD and Sony MiniDisc)");
    optDigOut[2].place("4&8 kHz", {3480, 330, 1350, 255}, &Frame3, -1, "Set S/PDIF to DVD Quality (for DAT)");
    Label12.place("Current Output Rate =", {150, 1380, 2040, 195}, nullptr, kDigital, "Shows current sampling rate");
    lblDigOut.place("N/A", {2220, 1380, 540, 195}, nullptr, kDigital, "Shows current sampling rate");
    Label17.place("Hz", {2790, 1380, 300, 195}, nullptr, kDigital, "Shows current sampling rate");
    Frame5.place("Digital Output", {150, 1710, 2430, 1050}, nullptr, kDigital);
    chkDetOut.place("Output Detected", {180, 330, 2100, 255}, &Frame5, -1, "Force S/PDIF Output Detection");
    chkEnOut.place("Enable Output", {180, 660, 2100, 255}, &Frame5, -1, "Enable S/PDIF Output");
    Frame6.place("Digital Input", {2730, 1710, 2430, 1050}, nullptr, kDigital);
    chkDetIn.place("Input Detected", {180, 330, 2100, 255}, &Frame6, -1, "Force S/PDIF Input Detection");
    chkEnIn.place("Enable Input", {180, 660, 2100, 255}, &Frame6, -1, "Enable S/PDIF Input");
    cmdEQSettings.place("Equalizer Settings", {150, 2970, 1800, 345}, nullptr, kDigital, "Equalizer and Speaker Compensation settings");
    cmdFixDetect.place("Enable S/PDIF Support", {2040, 2970, 2040, 345}, nullptr, kDigital, "Add extra cards to supported S/PDIF list");
    // Below the tabs
    cmdAbout.place("About", {645, 4710, 1125, 345});
    cmdOverride.place("Override", {1860, 4710, 1125, 345}, nullptr, -1, "Override Detection of Windows XP");
    cmdOK.place("&OK", {3075, 4710, 1125, 345}, nullptr, -1, "Exit program");
    cmdReset.place("Reset", {4290, 4710, 1125, 345}, nullptr, -1, "Resets all settings to defaults");
    txtOSName.place("", {105, 4740, 210, 315});
    txtADMSize.place("", {360, 4740, 210, 315});
    for (const char* t : kTabs) SSTab1.addTab(t);

    Image1.image = ui::IMG_CARD;
    Image2.image = ui::IMG_A3D_LOGO;
    Image3.image = ui::IMG_MIDI;
    imgPhones.image = ui::IMG_HEADPHONES;
    imgSat.image = ui::IMG_SATELLITE;
    imgMon.image = ui::IMG_MONITOR;
    imgQuad.image = ui::IMG_QUAD;
    ListView1.imageList = {ui::ICON_VOLUME,     ui::ICON_RECORDER, ui::ICON_MEDIA, ui::ICON_MIXER,
                           ui::ICON_MULTIMEDIA, ui::ICON_GAME,     ui::ICON_DXDIAG};
    ListView1.smallImageList = ListView1.imageList;

    Label6.alignCenter = true;   // "0db" stands over position 8
    Label7.alignRight = true;    // "-34.5dB" ends with the bar
    Label12.alignRight = true;   // "=" meets the rate
    for (ui::HScrollBar* bar : {&hsbPCM1, &hsbPCM2, &hsbFront, &hsbRear}) bar->largeChange = 4;
    for (ui::Slider* s : {&hsbEffect1, &hsbEffect2}) s->largeChange = 16;

    for (ui::TextBox* t : {&txtDrvVer, &txtA3DVer, &txtA3DAPI, &txtOSName, &txtADMSize}) t->readOnly = true;
    txtOSName.setVisible(false);
    txtADMSize.setVisible(false);
    cmdOverride.setEnabled(false);
    cmdReset.setEnabled(false);
}

void frmMain::fillLists() {
    for (const char* e : kEffects1) cboEffect1.addItem(e);
    for (const char* e : kEffects2) cmdEffect2.addItem(e);
    for (const mainwin::WavetableMode& m : mainwin::kWavetableModes) cboWavetableMode.addItem(m.entry);
    for (const mainwin::A3DType& t : mainwin::kA3DTypes) cboA3DType.addItem(t.entry);
}

void frmMain::wireHandlers() {
    // One kind of call for all the bound controls keeps the program small.
    using Handler = void (frmMain::*)();
#define QM_HANDLER(control, event, ...) &frmMain::control##_##event,
#define QM_CLICK(box, ...) QM_HANDLER(box, Click)
#define QM_CHANGE(bar, ...) QM_HANDLER(bar, Change)
    static const Handler clicks[] = {QM_MAIN_BOXES(QM_CLICK)};
    static const Handler levelChanges[] = {QM_MAIN_LEVELS(QM_CHANGE)};
    static const Handler effectChanges[] = {QM_MAIN_EFFECTS(QM_CHANGE)};
#undef QM_CHANGE
#undef QM_CLICK
#undef QM_HANDLER
    auto call = [this](Handler h) { return [this, h] { (this->*h)(); }; };
    for (std::size_t i = 0; i < mainwin::kBoxCount; ++i) box(Box(i)).Click = call(clicks[i]);
    for (std::size_t i = 0; i < mainwin::kLevelCount; ++i) bar(Level(i)).Change = call(levelChanges[i]);
    for (std::size_t i = 0; i < mainwin::kEffectCount; ++i) slider(Effect(i)).Change = call(effectChanges[i]);
    chkTray.Click = [this] { chkTray_Click(); };
    cmdWPCRSET.Click = [this] { cmdWPCRSET_Click(); };
    ListView1.DblClick = [this] { ListView1_DblClick(); };

    // cboEffect1 and cmdEffect2 have no handler: choosing an effect type writes nothing.
    cboWavetableMode.Click = [this] { cboWavetableMode_Click(); };

    cboA3DType.Click = [this] { cboA3DType_Click(); };
    cmdDrvVerHlp.Click = [this] { cmdDrvVerHlp_Click(); };
    cmdAboutA3D.Click = [this] { cmdAboutA3D_Click(); };
    cmdQuad.Click = [this] { cmdQuad_Click(); };

    cmdAC97Help.Click = [this] { cmdAC97Help_Click(); };

    optDigOut.Click = [this](int index) { optDigOut_Click(index); };
    cmdEQSettings.Click = [this] { cmdEQSettings_Click(); };
    cmdFixDetect.Click = [this] { cmdFixDetect_Click(); };

    cmdAbout.Click = [this] { cmdAbout_Click(); };
    cmdOverride.Click = [this] { cmdOverride_Click(); };
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdReset.Click = [this] { cmdReset_Click(); };
    // No QueryClose: closing from the frame just unloads, without the reboot reminder.
}

void frmMain::Form_Load() {
    platform::WindowsVersionInfo version;
    platform::DetectWindowsName(*sys_.version, version);

    for (int i = 0; i < 7; ++i) ListView1.addItem(kTools[i], i);

    txtOSName.setText(version.name);
    if (txtOSName.text() != "Windows XP") {
        msgBox(kNotXP, "Incorrect Operating System", ui::MB_CRITICAL_);
        SSTab1.setEnabled(false);
        cmdWPCRSET.setEnabled(false);
        chkA3DSplash.setEnabled(false);
        chkPlayA3D.setEnabled(false);
        chkTray.setEnabled(false);
        cmdOverride.setEnabled(true);
        cmdOverride.setVisible(true);
        cmdReset.setEnabled(true);
        return;  // "Override" completes the loading
    }

    startValues_.take(store_);
    readSettings();
    trayAutostart_ = store_.fetch(settings::AU30TRAY()).toText();
    chkTray.setValue(trayAutostart_.empty() ? 0 : 1);
    cmdOverride.setVisible(false);
    createMissingValues();
    showSettings();
    fillVersions();
    cmdReset.setEnabled(true);
    disableIfUndetected(Box::chkDetOut);
    disableIfUndetected(Box::chkDetIn);
    measureDriverFile();
    settingsLoaded_ = true;
}

void frmMain::Form_Activate() {
    if (settingsLoaded_) tellIfReadOnly();
}

// Without administrator rights the driver's keys open for reading only, and
// every change would be lost silently.
bool frmMain::readOnly() {
    return store_.accessDenied(settings::key::ControlPanel) || store_.accessDenied(settings::key::Customization);
}

// Said once at start, and again after each restore or undo.
void frmMain::tellIfReadOnly() {
    if (toldReadOnly_ || !readOnly()) return;
    toldReadOnly_ = true;
    msgBox("Your account is not allowed to change the sound driver's settings.  Quillmere shows them, but changes "
           "cannot be saved without administrator rights.  Please log on as an administrator to change them.",
           "Information", ui::MB_INFORMATION_);
}

void frmMain::cmdOverride_Click() {
    msgBox("Forcing Windows XP detection is risky and can damage your Windows installation if it isn't Windows XP.",
           "Information", ui::MB_INFORMATION_);
    cmdOverride.setVisible(false);
    SSTab1.setEnabled(true);
    cmdWPCRSET.setEnabled(true);
    chkA3DSplash.setEnabled(true);
    chkPlayA3D.setEnabled(true);
    chkTray.setEnabled(true);

    // The tray value is not read here: "Show Tray Icon" stays unticked.
    startValues_.take(store_);
    readSettings();
    cmdOverride.setVisible(false);
    createMissingValues();
    showSettings();
    fillVersions();
    settingsLoaded_ = true;
    tellIfReadOnly();

    // Without a driver file the rest is skipped, and so is everything after
    // a detected text that is not a number.
    if (!measureDriverFile()) return;
    cmdReset.setEnabled(true);
    if (!disableIfUndetected(Box::chkDetOut)) return;
    disableIfUndetected(Box::chkDetIn);
}

namespace {

std::string text(settings::Store& store, const settings::Setting& s) { return store.fetch(s).toText(); }

// Stored texts the controls cannot hold leave the control as it is, so its
// handler does not run and nothing is written.
void setFromText(ui::CheckBox& box, const std::string& t) {
    if (auto v = platform::textToInt16(t)) box.setValue(*v);
}

void setFromText(ui::ComboList& list, const std::string& t) {
    if (auto v = platform::textToInt16(t)) list.setListIndex(*v);
}

void setFromText(ui::Slider& slider, const std::string& t) {
    if (auto v = platform::textToInt32(t)) slider.setValue(*v);
}

}  // namespace

void frmMain::readSettings() {
    using namespace settings;
    mediaPlayerCommand_ = text(store_, MediaPlayerProg());

    // A level that is missing reads as 0; one that is no 16-bit number keeps the level it had.
    for (std::size_t i = 0; i < mainwin::kLevelCount; ++i)
        if (auto v = store_.fetch(mainwin::row(Level(i)).setting()).toInt16()) levels_[i] = *v;

    spdifRate_ = text(store_, mainwin::kSpdifRateSetting());
    for (std::size_t i = 0; i < mainwin::kEffectCount; ++i) effectTexts_[i] = text(store_, mainwin::row(Effect(i)).setting());
    wavetableMode_ = text(store_, mainwin::kWavetableList.setting());
    a3dType_ = text(store_, mainwin::kA3DTypeList.setting());
    for (std::size_t i = 0; i < mainwin::kBoxCount; ++i) boxTexts_[i] = text(store_, mainwin::kBoxes[i].setting());
}

void frmMain::createMissingValues() {
    for (Box b : {Box::chkHighPerfMIDI, Box::chkPlayA3D, Box::chkA3DSplash})
        store_.createIfMissing(mainwin::row(b).setting(), !boxText(b).empty());
}

void frmMain::showSettings() {
    for (std::size_t i = 0; i < mainwin::kLevelCount; ++i) bar(Level(i)).setValue(levels_[i]);
    for (std::size_t i = 0; i < mainwin::kEffectCount; ++i) setFromText(slider(Effect(i)), effectTexts_[i]);
    for (std::size_t i = 0; i < mainwin::kLevelCount; ++i) label(Level(i)).setCaption(std::to_string(levels_[i]));

    lblDigOut.setCaption(spdifRate_);

    for (std::size_t i = 0; i + 1 < mainwin::kBoxCount; ++i) showCheckBox(Box(i));
    setFromText(cboWavetableMode, wavetableMode_);
    setFromText(cboA3DType, a3dType_);
    showCheckBox(Box(mainwin::kBoxCount - 1));
}

void frmMain::showCheckBox(Box b) {
    const std::string& t = boxText(b);
    if (mainwin::row(b).shown == mainwin::Shown::State) setFromText(box(b), t);
    else if (t == "1") box(b).setValue(1);
}

void frmMain::reloadSettings() {
    // The handlers still run, for the pictures, labels and enabled boxes
    // they keep; their writes would undo part of what was just written.
    settings::Store::HoldWrites held(store_);
    showCreatedState();
    readSettings();
    trayAutostart_ = store_.fetch(settings::AU30TRAY()).toText();
    chkTray.setValue(trayAutostart_.empty() ? 0 : 1);
    showSettings();
    disableIfUndetected(Box::chkDetOut);
    disableIfUndetected(Box::chkDetIn);
}

// The settings' controls as the window created them, without running their
// handlers: the loading sequence sets only what differs from that.
void frmMain::showCreatedState() {
    ui::Form::Silence quiet(*this);
    for (ui::Control* c : controls()) {
        switch (c->kind()) {
            case ui::Kind::CheckBox: static_cast<ui::CheckBox*>(c)->setValue(0); break;
            case ui::Kind::ComboList: static_cast<ui::ComboList*>(c)->setListIndex(-1); break;
            case ui::Kind::HScroll:
            case ui::Kind::Slider: static_cast<ui::RangeControl*>(c)->setValue(0); break;
            default: break;
        }
    }
    optDigOut.clear();
    for (const mainwin::A3DType& t : mainwin::kA3DTypes) find(t.picture)->setVisible(true);
    for (std::size_t i = 0; i < mainwin::kEffectCount; ++i) label(Effect(i)).setCaption("0");
    for (const mainwin::BoxBinding& b : mainwin::kBoxes)
        if (b.governs != Box::None) box(b.governs).setEnabled(true);
}

bool frmMain::disableIfUndetected(Box detect) {
    const std::string& detected = boxText(detect);
    ui::CheckBox& enable = box(mainwin::row(detect).governs);
    // A missing value reads as 0, like the unticked box that shows it.
    std::optional<std::int16_t> v = detected.empty() ? std::optional<std::int16_t>(0) : platform::textToInt16(detected);
    if (!v) return false;
    if (*v == 0) enable.setEnabled(false);
    return true;
}

void frmMain::fillVersions() {
    platform::FileVersionSource& files = *sys_.fileVersions;
    txtA3DVer.setText(platform::ReadFileVersion(files, "a3d.dll"));
    txtA3DAPI.setText(platform::ReadFileVersion(files, "a3dapi.dll"));
    txtDrvVer.setText(platform::ReadFileVersion(files, "drivers\\adm8830.sys"));
    if (txtDrvVer.text() == "N/A") txtDrvVer.setText(platform::ReadFileVersion(files, "drivers\\admaud30.sys"));
}

bool frmMain::measureDriverFile() {
    platform::Files& files = *sys_.files;
    auto take = [this](const platform::FileLength& f) {
        if (f.status != platform::FileLengthStatus::Ok) return false;
        driverFileSize_ = std::to_string(f.length);
        txtADMSize.setText(driverFileSize_);
        return true;
    };
    // The file whose version is shown first. Then below the program's folder
    // (right when it runs from the Windows folder), and the default Windows
    // folder only when that name is malformed.
    if (take(files.fileLength(files.systemFolder() + "\\drivers\\adm8830.sys"))) return true;
    const platform::FileLength inProgramFolder = files.fileLength(files.programFolder() + "\\system32\\drivers\\adm8830.sys");
    if (take(inProgramFolder)) return true;
    if (inProgramFolder.status == platform::FileLengthStatus::BadFileName)
        return take(files.fileLength("c:\\windows\\system32\\drivers\\adm8830.sys"));
    return false;
}
