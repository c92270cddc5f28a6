#include "main/frmMain.h"

#include <optional>


#include "platform/modFileVer.h"
#include "platform/modWinVersion.h"
#include "settings/Catalogue.h"
#include "ui/Images.h"

namespace {

using K = ui::Kind;

// The window's layout. Rectangles are in twips (15 to the pixel at 96 DPI),
// relative to the frame named as container, else to the tab strip for a
// control on a tab page, else to the client area. The four speaker pictures
// share one place on purpose: only one of them is visible at a time.
struct LayoutRow {
    ui::Kind kind;
    const char* name;
    int index;  // within an option array, else -1
    const char* caption;
    const char* tooltip;
    const char* container;  // frame, or nullptr
    int page;               // tab page, or -1 (a frame's children take its page)
    ui::Rect rect;
};

const LayoutRow kLayout[] = {
    {K::TabStrip, "SSTab1", -1, "", "", nullptr, -1, {105, 105, 5310, 4470}},
    // General
    {K::ListView, "ListView1", -1, "", "", nullptr, 0, {150, 450, 5010, 2250}},
    {K::CheckBox, "chkPlayA3D", -1, "&Play A3D splash audio.", "Controls whether or not a sound will be played whenever A3D is initialised.", nullptr, 0, {150, 2850, 3300, 255}},
    {K::CheckBox, "chkA3DSplash", -1, "&Show A3D splash screen.", "Controls whether or not the A3D logo will be shown whenever A3D is initialised.", nullptr, 0, {150, 3165, 3300, 255}},
    {K::CheckBox, "chkTray", -1, "Show Tray Icon", "Determines whether the system tray control will be loaded", nullptr, 0, {150, 3480, 3300, 255}},
    {K::Button, "cmdWPCRSET", -1, "Configure WPCRSET", "", nullptr, 0, {150, 3945, 1860, 345}},
    {K::Picture, "Image1", -1, "", "", nullptr, 0, {3840, 2850, 1320, 1440}},
    // MIDI
    {K::Frame, "Frame1", -1, "Effect &1", "", nullptr, 1, {150, 450, 2430, 1290}},
    {K::ComboList, "cboEffect1", -1, "", "", "Frame1", -1, {150, 300, 2130, 315}},
    {K::Slider, "hsbEffect1", -1, "", "MIDI Reverb Level", "Frame1", -1, {90, 750, 1680, 420}},
    {K::Label, "lblEffect1", -1, "0", "", "Frame1", -1, {1830, 855, 450, 195}},
    {K::Frame, "Frame2", -1, "Effect &2", "", nullptr, 1, {2730, 450, 2430, 1290}},
    {K::ComboList, "cmdEffect2", -1, "", "", "Frame2", -1, {150, 300, 2130, 315}},
    {K::Slider, "hsbEffect2", -1, "", "MIDI Chorus Level", "Frame2", -1, {90, 750, 1680, 420}},
    {K::Label, "lblEffect2", -1, "0", "", "Frame2", -1, {1830, 855, 450, 195}},
    {K::CheckBox, "chkMIDIfx", -1, "&Turn Effects On", "Enables the Wavetable Effects, which by default are set to Reverb and Chorus.", nullptr, 1, {150, 1920, 3000, 255}},
    {K::CheckBox, "chkHighPerfMIDI", -1, "High Performance MIDI", "", nullptr, 1, {150, 2235, 3000, 255}},
    {K::Label, "Label4", -1, "&Wavetable Mode:", "", nullptr, 1, {150, 2730, 1650, 195}},
    {K::ComboList, "cboWavetableMode", -1, "", "Controls the Polyphony for using MIDI.  In hardware, there are only 64 voices.", nullptr, 1, {1860, 2670, 1470, 315}},
    {K::Picture, "Image3", -1, "", "", nullptr, 1, {3480, 1920, 1680, 1080}},
    // A3D Settings
    {K::Frame, "Frame7", -1, "A3D Type", "", nullptr, 2, {150, 450, 5010, 1440}},
    {K::ComboList, "cboA3DType", -1, "", "A3D Type", "Frame7", -1, {180, 360, 2400, 315}},
    {K::Picture, "imgPhones", -1, "", "", "Frame7", -1, {3540, 210, 1320, 1110}},
    {K::Picture, "imgSat", -1, "", "", "Frame7", -1, {3540, 210, 1320, 1110}},
    {K::Picture, "imgMon", -1, "", "", "Frame7", -1, {3540, 210, 1320, 1110}},
    {K::Picture, "imgQuad", -1, "", "", "Frame7", -1, {3540, 210, 1320, 1110}},
    {K::Label, "Label1", -1, "Driver Version", "", nullptr, 2, {150, 2160, 1680, 195}},
    {K::TextBox, "txtDrvVer", -1, "NA", "", nullptr, 2, {1890, 2115, 1650, 315}},
    {K::Button, "cmdDrvVerHlp", -1, "?", "", nullptr, 2, {3630, 2100, 345, 345}},
    {K::Label, "Label2", -1, "A3D.DLL Version", "", nullptr, 2, {150, 2580, 1680, 195}},
    {K::TextBox, "txtA3DVer", -1, "NA", "", nullptr, 2, {1890, 2535, 1650, 315}},
    {K::Label, "Label3", -1, "A3DAPI.DLL Version", "", nullptr, 2, {150, 3000, 1680, 195}},
    {K::TextBox, "txtA3DAPI", -1, "NA", "", nullptr, 2, {1890, 2955, 1650, 315}},
    {K::Button, "cmdAboutA3D", -1, "About A3D", "", nullptr, 2, {150, 3945, 1500, 345}},
    {K::Button, "cmdQuad", -1, "Quad Settings", "", nullptr, 2, {1740, 3945, 1500, 345}},
    {K::Picture, "Image2", -1, "", "", nullptr, 2, {4110, 2100, 1050, 1170}},
    // AC'97 Controls
    {K::CheckBox, "chkST3D", -1, "&Disable SigmaTel 3D Surround Enhancement", "Disables AC'97 codec built-in 3D effect", nullptr, 3, {150, 450, 4500, 255}},
    {K::CheckBox, "chkAttenuation", -1, "&Enable SigmaTel ST9704 Attenuation", "", nullptr, 3, {150, 750, 4500, 255}},
    {K::CheckBox, "chkLA4Inv", -1, "ST9708LA&4 Rear Phase Inversion", "Corrects for phase inversion with 4.1 speaker sets", nullptr, 3, {150, 1050, 4500, 255}},
    {K::CheckBox, "chkLA2Inv", -1, "ST&9708LA2 Rear Phase Inversion", "Corrects for phase inversion with 4.1 speaker sets", nullptr, 3, {150, 1350, 4500, 255}},
    {K::Label, "Label5", -1, "+12db", "", nullptr, 3, {1830, 1770, 630, 195}},
    {K::Label, "Label6", -1, "0db", "", nullptr, 3, {2490, 1770, 360, 195}},
    {K::Label, "Label7", -1, "-34.5dB", "", nullptr, 3, {3270, 1770, 810, 195}},
    {K::Label, "Label8", -1, "PCM 1 Out Level", "", nullptr, 3, {150, 2070, 1620, 195}},
    {K::HScroll, "hsbPCM1", -1, "", "", nullptr, 3, {1830, 2040, 2250, 255}},
    {K::Label, "lblPCM1", -1, "Label13", "", nullptr, 3, {4170, 2070, 600, 195}},
    {K::Label, "Label9", -1, "PCM 2 Out Level", "", nullptr, 3, {150, 2490, 1620, 195}},
    {K::HScroll, "hsbPCM2", -1, "", "", nullptr, 3, {1830, 2460, 2250, 255}},
    {K::Label, "lblPCM2", -1, "Label14", "", nullptr, 3, {4170, 2490, 600, 195}},
    {K::Label, "Label10", -1, "AC'97 Front Output", "", nullptr, 3, {150, 2910, 1620, 195}},
    {K::HScroll, "hsbFront", -1, "", "", nullptr, 3, {1830, 2880, 2250, 255}},
    {K::Label, "lblFront", -1, "Label15", "", nullptr, 3, {4170, 2910, 600, 195}},
    {K::Button, "cmdAC97Help", -1, "?", "", nullptr, 3, {4815, 2835, 345, 345}},
    {K::Label, "Label11", -1, "AC'97 Rear Output", "", nullptr, 3, {150, 3330, 1620, 195}},
    {K::HScroll, "hsbRear", -1, "", "", nullptr, 3, {1830, 3300, 2250, 255}},
    {K::Label, "lblRear", -1, "Label16", "", nullptr, 3, {4170, 3330, 600, 195}},
    // EQ/Digital I/O
    {K::Frame, "Frame3", -1, "Output Rate", "", nullptr, 4, {150, 450, 5010, 750}},
    {K::Option, "optDigOut", 0, "&32 kHz", "Set S/PDIF Sampling Rate to 32kHz (for older MiniDisc recorders)", "Frame3", -1, {180, 330, 1350, 255}},
    {K::Option, "optDigOut", 1, "&44.1 kHz", "Set S/PDIF to CD Quality (for CD and Sony MiniDisc)", "Frame3", -1, {1830, 330, 1350, 255}},
    {K::Option, "optDigOut", 2, "4&8 kHz", "Set S/PDIF to DVD Quality (for DAT)", "Frame3", -1, {3480, 330, 1350, 255}},
    {K::Label, "Label12", -1, "Current Output Rate =", "Shows current sampling rate", nullptr, 4, {150, 1380, 2040, 195}},
    {K::Label, "lblDigOut", -1, "N/A", "Shows current sampling rate", nullptr, 4, {2220, 1380, 540, 195}},
    {K::Label, "Label17", -1, "Hz", "Shows current sampling rate", nullptr, 4, {2790, 1380, 300, 195}},
    {K::Frame, "Frame5", -1, "Digital Output", "", nullptr, 4, {150, 1710, 2430, 1050}},
    {K::CheckBox, "chkDetOut", -1, "Output Detected", "Force S/PDIF Output Detection", "Frame5", -1, {180, 330, 2100, 255}},
    {K::CheckBox, "chkEnOut", -1, "Enable Output", "Enable S/PDIF Output", "Frame5", -1, {180, 660, 2100, 255}},
    {K::Frame, "Frame6", -1, "Digital Input", "", nullptr, 4, {2730, 1710, 2430, 1050}},
    {K::CheckBox, "chkDetIn", -1, "Input Detected", "Force S/PDIF Input Detection", "Frame6", -1, {180, 330, 2100, 255}},
    {K::CheckBox, "chkEnIn", -1, "Enable Input", "Enable S/PDIF Input", "Frame6", -1, {180, 660, 2100, 255}},
    {K::Button, "cmdEQSettings", -1, "Equalizer Settings", "Equalizer and Speaker Compensation settings", nullptr, 4, {150, 2970, 1800, 345}},
    {K::Button, "cmdFixDetect", -1, "Enable S/PDIF Support", "Add extra cards to supported S/PDIF list", nullptr, 4, {2040, 2970, 2040, 345}},
    // Below the tabs
    {K::Button, "cmdAbout", -1, "About", "", nullptr, -1, {645, 4710, 1125, 345}},
    {K::Button, "cmdOverride", -1, "Override", "Override Detection of Windows XP", nullptr, -1, {1860, 4710, 1125, 345}},
    {K::Button, "cmdOK", -1, "&OK", "Exit program", nullptr, -1, {3075, 4710, 1125, 345}},
    {K::Button, "cmdReset", -1, "Reset", "Resets all settings to defaults", nullptr, -1, {4290, 4710, 1125, 345}},
    {K::TextBox, "txtOSName", -1, "", "", nullptr, -1, {105, 4740, 210, 315}},
    {K::TextBox, "txtADMSize", -1, "", "", nullptr, -1, {360, 4740, 210, 315}},
};

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
    addSystemCommand("&Restore Settings...", [this] { mnuRestore_Click(); }, loaded);
    addSystemCommand("&Undo Changes Since Start", [this] { mnuUndo_Click(); }, loaded);
}

void frmMain::buildLayout() {
    for (const LayoutRow& row : kLayout) {
        ui::Control* c = find(row.name, row.index);
        ui::Control* container = row.container ? find(row.container) : nullptr;
        // A row that names no such control stays unplaced; the layout tests
        // check that every control has its place.
        if (!c || c->kind() != row.kind || (row.container && (!container || container->kind() != K::Frame)))
            continue;
        c->place(row.caption, row.rect, container, row.page, row.tooltip);
    }
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
    for (const char* e : {"320 Voices", "128 Voices", "64 Voices"}) cboWavetableMode.addItem(e);
    for (const char* e : {"Headphones", "Satellite Speakers", "Monitor Speakers", "Quad Speakers"})
        cboA3DType.addItem(e);
}

void frmMain::wireHandlers() {
    chkPlayA3D.Click = [this] { chkPlayA3D_Click(); };
    chkA3DSplash.Click = [this] { chkA3DSplash_Click(); };
    chkTray.Click = [this] { chkTray_Click(); };
    cmdWPCRSET.Click = [this] { cmdWPCRSET_Click(); };
    ListView1.DblClick = [this] { ListView1_DblClick(); };

    // cboEffect1 and cmdEffect2 have no handler: choosing an effect type writes nothing.
    hsbEffect1.Change = [this] { hsbEffect1_Change(); };
    hsbEffect2.Change = [this] { hsbEffect2_Change(); };
    chkMIDIfx.Click = [this] { chkMIDIfx_Click(); };
    chkHighPerfMIDI.Click = [this] { chkHighPerfMIDI_Click(); };
    cboWavetableMode.Click = [this] { cboWavetableMode_Click(); };

    cboA3DType.Click = [this] { cboA3DType_Click(); };
    cmdDrvVerHlp.Click = [this] { cmdDrvVerHlp_Click(); };
    cmdAboutA3D.Click = [this] { cmdAboutA3D_Click(); };
    cmdQuad.Click = [this] { cmdQuad_Click(); };

    chkST3D.Click = [this] { chkST3D_Click(); };
    chkAttenuation.Click = [this] { chkAttenuation_Click(); };
    chkLA4Inv.Click = [this] { chkLA4Inv_Click(); };
    chkLA2Inv.Click = [this] { chkLA2Inv_Click(); };
    hsbPCM1.Change = [this] { hsbPCM1_Change(); };
    hsbPCM2.Change = [this] { hsbPCM2_Change(); };
    hsbFront.Change = [this] { hsbFront_Change(); };
    hsbRear.Change = [this] { hsbRear_Change(); };
    cmdAC97Help.Click = [this] { cmdAC97Help_Click(); };

    optDigOut.Click = [this](int index) { optDigOut_Click(index); };
    chkDetOut.Click = [this] { chkDetOut_Click(); };
    chkEnOut.Click = [this] { chkEnOut_Click(); };
    chkDetIn.Click = [this] { chkDetIn_Click(); };
    chkEnIn.Click = [this] { chkEnIn_Click(); };
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

    startValues_.take(*sys_.registry);
    readSettings();
    trayAutostart_ = store_.fetch(settings::AU30TRAY()).toText();
    chkTray.setValue(trayAutostart_.empty() ? 0 : 1);
    cmdOverride.setVisible(false);
    createMissingValues();
    showSettings();
    fillVersions();
    cmdReset.setEnabled(true);
    disableIfUndetected(outputDetected_, chkEnOut);
    disableIfUndetected(inputDetected_, chkEnIn);
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
    startValues_.take(*sys_.registry);
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
    if (!disableIfUndetected(outputDetected_, chkEnOut)) return;
    disableIfUndetected(inputDetected_, chkEnIn);
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
    struct Level { const Setting& s; std::int16_t& level; };
    for (const Level& l : {Level{AC97PCMOutVol(), pcm1Level_}, Level{AC97PCM2OutVol(), pcm2Level_},
                           Level{AC97MixerFrontOutVol(), frontLevel_}, Level{AC97MixerRearOutVol(), rearLevel_}})
        if (auto v = store_.fetch(l.s).toInt16()) l.level = *v;

    spdifRate_ = text(store_, SpdifFrequency());
    wavetableEffect_ = text(store_, AspenWavetableEffect());
    codec3DOff_ = text(store_, DisableAC97Codec3DEffect());
    splashAudio_ = text(store_, SplashAudio());
    splashScreen_ = text(store_, SplashScreen());
    reverbAmount_ = text(store_, ReverbAmount());
    chorusAmount_ = text(store_, ChorusAmount());
    attenuation_ = text(store_, ST9704ATTEN());
    la2Inversion_ = text(store_, CorrectLA2());
    la4Inversion_ = text(store_, ST9708LA4RearInversion());
    outputDetected_ = text(store_, DetectSpdifOut());
    inputDetected_ = text(store_, DetectSpdifIn());
    outputEnabled_ = text(store_, EnableSpdifOut());
    inputEnabled_ = text(store_, EnableSpdifIn());
    wavetableMode_ = text(store_, SoftSynthModeIndex());
    highPerfMIDI_ = text(store_, HighPerformanceMIDI());
    a3dType_ = text(store_, PrimaryXtalk());
}

void frmMain::createMissingValues() {
    using namespace settings;
    if (highPerfMIDI_.empty() && !store_.exists(HighPerformanceMIDI())) {
        store_.store(HighPerformanceMIDI(), *HighPerformanceMIDI().created);
        highPerfMIDI_ = text(store_, HighPerformanceMIDI());
    }
    if (splashAudio_.empty() && !store_.exists(SplashAudio())) {
        store_.makeKey(key::A3D);
        store_.store(SplashAudio(), *SplashAudio().created);
        splashAudio_ = text(store_, SplashAudio());
    }
    if (splashScreen_.empty() && !store_.exists(SplashScreen())) {
        store_.makeKey(key::A3D);
        store_.store(SplashScreen(), *SplashScreen().created);
        splashScreen_ = text(store_, SplashScreen());
    }
}

void frmMain::showSettings() {
    hsbPCM1.setValue(pcm1Level_);
    hsbPCM2.setValue(pcm2Level_);
    hsbFront.setValue(frontLevel_);
    hsbRear.setValue(rearLevel_);
    setFromText(hsbEffect1, reverbAmount_);
    setFromText(hsbEffect2, chorusAmount_);
    lblPCM1.setCaption(std::to_string(pcm1Level_));
    lblPCM2.setCaption(std::to_string(pcm2Level_));
    lblFront.setCaption(std::to_string(frontLevel_));
    lblRear.setCaption(std::to_string(rearLevel_));

    lblDigOut.setCaption(spdifRate_);

    setFromText(chkMIDIfx, wavetableEffect_);
    setFromText(chkST3D, codec3DOff_);
    if (splashAudio_ == "1") chkPlayA3D.setValue(1);
    if (splashScreen_ == "1") chkA3DSplash.setValue(1);
    setFromText(chkAttenuation, attenuation_);
    setFromText(chkLA2Inv, la2Inversion_);
    setFromText(chkLA4Inv, la4Inversion_);
    lblDigOut.setCaption(spdifRate_);
    // The detected boxes first: their handlers enable or disable the "Enable" boxes.
    setFromText(chkDetOut, outputDetected_);
    setFromText(chkEnOut, outputEnabled_);
    setFromText(chkDetIn, inputDetected_);
    setFromText(chkEnIn, inputEnabled_);

    setFromText(cboWavetableMode, wavetableMode_);
    setFromText(cboA3DType, a3dType_);
    setFromText(chkHighPerfMIDI, highPerfMIDI_);
}

void frmMain::reloadSettings() {
    showCreatedState();
    readSettings();
    trayAutostart_ = store_.fetch(settings::AU30TRAY()).toText();
    chkTray.setValue(trayAutostart_.empty() ? 0 : 1);
    createMissingValues();
    showSettings();
    disableIfUndetected(outputDetected_, chkEnOut);
    disableIfUndetected(inputDetected_, chkEnIn);
}

// The settings' controls as the window created them, without running their
// handlers: the loading sequence sets only what differs from that.
void frmMain::showCreatedState() {
    ui::Form::Silence quiet(*this);
    for (ui::Control* c : controls()) {
        switch (c->kind()) {
            case K::CheckBox: static_cast<ui::CheckBox*>(c)->setValue(0); break;
            case K::ComboList: static_cast<ui::ComboList*>(c)->setListIndex(-1); break;
            case K::HScroll:
            case K::Slider: static_cast<ui::RangeControl*>(c)->setValue(0); break;
            default: break;
        }
    }
    optDigOut.clear();
    for (ui::Picture* p : {&imgPhones, &imgSat, &imgMon, &imgQuad}) p->setVisible(true);
    for (ui::Label* l : {&lblEffect1, &lblEffect2}) l->setCaption("0");
    chkEnOut.setEnabled(true);
    chkEnIn.setEnabled(true);
}

bool frmMain::disableIfUndetected(const std::string& detected, ui::CheckBox& enable) {
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
