// The main window's dialogs in the real program: each button hands the
// main window over and both ways of closing give it back; the quad
// warnings; "Reset All Settings" in the registry; the driver verdicts; the
// AC'97 level help; where the dialogs open and how the About box looks.
#include <cstdint>
#include <set>
#include <string>

#include "AppTest.h"

using namespace e2e;

namespace {

constexpr int kTabA3D = 2;
constexpr int kTabAC97 = 3;

const char* const kQuadWarning = "These settings may not work on your card.  Do you wish to continue?";
const char* const kQuadMoved =
    "The Quad options have been moved here because they appear to cause all sound to disappear on some systems.  "
    "Only continue if you know how to recover from this.  The AC97 Mixer is the best solution to get Shared Front "
    "and Rear Output.";

const char* const kOriginalXp =
    "You appear to be running the original Microsoft provided Aureal drivers.  These are the recommended drivers "
    "for Windows XP.  This driver supports full hardware acceleration for DirectSound, DirectSound 3D, A3D and "
    "MIDI.  S/PDIF output is also supported.";
const char* const kWindowsUpdateStart =
    "You appear to be running the Microsoft provided Aureal drivers from Windows Update.  These drivers should not "
    "be used since they remove all hardware acceleration for the sound card.  Try to roll back the driver, or get "
    "further instructions from ";
const char* const kA3DOk = "Your A3D driver seems OK.";
const char* const kA3DLive =
    "You seem to have the SoundBlaster Live! A3D drivers.  These work by converting A3D into DirectSound 3D.  It is "
    "recommended that you use the Aureal A3D driver included with Windows XP for the best compatibility";

struct Default {
    const char* key;
    const char* name;
    std::uint32_t value;  // what "Reset All Settings" leaves
    std::uint32_t other;  // a stored value it must replace
};

// The 27 values of the eight groups and their defaults.
const Default kDefaults[] = {
    {settings::key::ControlPanel, "PrimaryXtalk", 2, 0},
    {settings::key::ControlPanel, "GamerMode", 1, 0},
    {settings::key::ControlPanel, "SoftSynthVoices", 256, 64},
    {settings::key::ControlPanel, "SoftSynthMode", 3, 2},
    {settings::key::ControlPanel, "SoftSynthModeIndex", 0, 1},
    {settings::key::ControlPanel, "SoftSynth", 2, 2},
    {settings::key::ControlPanel, "ReverbAmount", 64, 10},
    {settings::key::ControlPanel, "ChorusAmount", 64, 20},
    {settings::key::ControlPanel, "AspenWavetableEffect", 1, 0},
    {settings::key::Customization, "SpdifFrequency", 48000, 44100},
    {settings::key::Customization, "DetectSpdifOut", 1, 0},
    {settings::key::Customization, "EnableSpdifOut", 1, 0},
    {settings::key::Customization, "DetectSpdifIn", 0, 1},
    {settings::key::Customization, "EnableSpdifIn", 0, 1},
    {settings::key::Customization, "SupportAnalogEQ", 0, 1},
    {settings::key::ControlPanel, "AnalogEQSrcLine", 3, 1},
    {settings::key::ControlPanel, "AnalogEQEnableState", 0, 1},
    {settings::key::Customization, "DisableAC97Codec3DEffect", 1, 0},
    {settings::key::Customization, "ST9708LA4RearInversion", 1, 0},
    {settings::key::Customization, "CorrectLA2", 1, 0},
    {settings::key::Customization, "ST9704ATTEN", 0, 1},
    {settings::key::Customization, "AC97PCMOutVol", 8, 3},
    {settings::key::Customization, "AC97PCM2OutVol", 8, 4},
    {settings::key::Customization, "AC97MixerFrontOutVol", 8, 5},
    {settings::key::Customization, "AC97MixerRearOutVol", 8, 6},
    {settings::key::ControlPanel, "QuadCodecOutputModeState", 0, 1},
    {settings::key::Customization, "SetGPIO0InQuad", 0, 1},
};

std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

std::string snapshotName(const char* key, const char* name) { return lower(key) + "\\" + lower(name); }

// The rows of a box that show anything but the colour of its top-left
// corner: how tall the text drawn in it is.
int inkHeight(const Shot& shot, const Box& b) {
    const std::uint32_t ground = shot.at(b.left, b.top);
    int first = -1, last = -1;
    for (int y = b.top; y < b.bottom; ++y)
        for (int x = b.left; x < b.right; ++x)
            if (shot.at(x, y) != ground) {
                if (first < 0) first = y;
                last = y;
                break;
            }
    return first < 0 ? 0 : last - first + 1;
}

int middleX(const Box& b) { return (b.left + b.right) / 2; }
int middleY(const Box& b) { return (b.top + b.bottom) / 2; }

}  // namespace

class Dialogs : public AppTest {
protected:
    bool aBoxAppears() { return waitUntil([&] { return app.findMessageBox().has_value(); }, scaled(1000)); }
};

TEST_F(Dialogs, EachButtonHandsOverAndBothWaysOfClosingGiveTheMainWindowBack) {
    installDriver();
    Window main = startMain();
    struct Case {
        const char* button;
        int tab;  // -1: below the tabs
        const char* form;
        const char* caption;
        bool mainStaysVisible;
    } const cases[] = {
        {"cmdReset", -1, "frmReset", "Reset Settings", false},
        {"cmdDrvVerHlp", kTabA3D, "frmDrvVer", "Driver Version Information", false},
        {"cmdAboutA3D", kTabA3D, "frmAboutA3D", "About A3D", false},
        {"cmdAbout", -1, "frmAbout", "About Quillmere", true},
    };
    for (const Case& c : cases) {
        for (bool byFrame : {false, true}) {
            SCOPED_TRACE(std::string(c.form) + (byFrame ? ", closed from the frame" : ", closed with OK"));
            if (c.tab >= 0) main.control("SSTab1").choose(c.tab);
            main.control(c.button).click();
            Window dlg = app.form(c.form);
            EXPECT_EQ(dlg.text(), c.caption);
            EXPECT_EQ(main.visible(), c.mainStaysVisible);
            EXPECT_FALSE(main.enabled());
            EXPECT_FALSE(app.findMessageBox().has_value());
            if (byFrame)
                dlg.closeFromFrame();
            else
                dlg.control("cmdOK").click();
            expectGivenBack(main, c.form);
        }
    }
    // Usable, not just shown: a tick still writes.
    main.control("SSTab1").choose(0);
    main.control("chkTray").click();
    EXPECT_EQ(reg::text(settings::AU30TRAY()), "au30tray.exe");
}

TEST_F(Dialogs, QuadSettingsOpenOnlyAfterYesAndCarryTheSecondWarning) {
    installDriver();
    Window main = startMain();
    main.control("SSTab1").choose(kTabA3D);
    const reg::Snapshot before = snapshotProgramKeys();

    // No: nothing opens, nothing is written.
    main.control("cmdQuad").clickAsync();
    MsgBox ask = app.messageBox();
    EXPECT_EQ(ask.text(), kQuadWarning);
    EXPECT_EQ(ask.title(), "Information");
    EXPECT_EQ(ask.icon(), Icon::None);
    EXPECT_EQ(ask.buttons(), (std::vector<int>{IDYES_, IDNO_}));
    ask.answer(IDNO_);
    EXPECT_TRUE(waitUntil([&] { return main.usable(); }, scaled(kStepTimeout)));
    EXPECT_FALSE(aBoxAppears());
    EXPECT_FALSE(app.findForm("frmQuad").has_value() && app.findForm("frmQuad")->visible());
    EXPECT_EQ(reg::diff(before, snapshotProgramKeys()), "");

    // Yes: the dialog, and over it the second message.
    for (bool byFrame : {false, true}) {
        SCOPED_TRACE(byFrame ? "closed from the frame" : "closed with OK");
        main.control("cmdQuad").clickAsync();
        app.messageBox().answer(IDYES_);
        Window quad = app.form("frmQuad");
        EXPECT_EQ(quad.text(), "Quad Settings");
        MsgBox moved = app.messageBox();
        EXPECT_EQ(moved.text(), kQuadMoved);
        EXPECT_EQ(moved.title(), "Information");
        EXPECT_EQ(moved.icon(), Icon::Information);
        EXPECT_EQ(moved.buttons(), std::vector<int>{IDOK_});
        EXPECT_EQ(ownerOf(moved.hwnd()), quad.hwnd());
        EXPECT_TRUE(quad.visible());
        EXPECT_FALSE(main.visible());
        EXPECT_FALSE(main.enabled());
        moved.answer(IDOK_);

        // Freshly loaded each time: the stored mode, no option chosen.
        EXPECT_EQ(quad.control("lblQuad").text(), "Stereo");
        EXPECT_EQ(quad.control("optQuad", 0).checked(), 0);
        EXPECT_EQ(quad.control("optQuad", 1).checked(), 0);
        if (byFrame)
            quad.closeFromFrame();
        else
            quad.control("cmdOK").click();
        expectGivenBack(main, "frmQuad");
    }
    EXPECT_FALSE(app.findMessageBox().has_value());
}

TEST_F(Dialogs, ResetAllSettingsWritesTheDefaultsAndTouchesNothingElse) {
    installDriver();
    for (const Default& d : kDefaults) reg::setDword(d.key, d.name, d.other);
    reg::setText(settings::AC97MixerLocation(), "C:\\AC97Mix\\AC97Mixer.exe");
    reg::set(settings::HighPerformanceMIDI(), 1);
    reg::set(settings::VIAFix(), 1);
    reg::set(settings::SpdifCard(1), 0x12EB0088);
    reg::createKey(settings::key::Equalizer);
    reg::set(settings::EqBypass(), 1);
    reg::setBinary(settings::CoefSet0().key, settings::CoefSet0().name, {0x01, 0x02, 0x03, 0x04});
    reg::createKey(settings::key::EqPreset);
    reg::set(settings::PresetNumber(), 4);
    reg::createKey(settings::key::A3D);
    reg::set(settings::SplashAudio(), 1);
    reg::set(settings::SplashScreen(), 1);
    Window main = startMain();
    // What the loading wrote back is the starting point.
    const reg::Snapshot before = snapshotProgramKeys();
    main.control("SSTab1").choose(kTabA3D);
    EXPECT_EQ(main.control("cboA3DType").selectedText(), "Headphones");
    EXPECT_TRUE(main.control("imgPhones").visible());

    main.control("cmdReset").click();
    Window dlg = app.form("frmReset");
    dlg.control("cmdResetAll").click();
    const reg::Snapshot after = snapshotProgramKeys();

    std::set<std::string> reset;
    for (const Default& d : kDefaults) {
        auto v = reg::get(d.key, d.name);
        ASSERT_TRUE(v.has_value()) << d.name;
        EXPECT_EQ(v->dword(), d.value) << d.name << " is " << v->describe();
        reset.insert(snapshotName(d.key, d.name));
    }
    EXPECT_FALSE(reg::exists(settings::AC97MixerLocation()));
    const std::string location = snapshotName(settings::key::ControlPanel, "AC97MixerLocation");
    EXPECT_EQ(after.keys, before.keys);
    for (const auto& [name, value] : before.values) {
        if (reset.count(name) || name == location) continue;
        auto it = after.values.find(name);
        if (it == after.values.end())
            ADD_FAILURE() << name << " was removed";
        else
            EXPECT_EQ(it->second, value) << name << ": " << value.describe() << " -> " << it->second.describe();
    }
    for (const auto& [name, value] : after.values)
        EXPECT_TRUE(before.values.count(name)) << name << " was created: " << value.describe();
    EXPECT_FALSE(app.findMessageBox().has_value());

    // Back on the main window only the speaker picture follows the reset.
    dlg.control("cmdOK").click();
    expectGivenBack(main, "frmReset");
    EXPECT_TRUE(main.control("imgMon").visible());
    EXPECT_FALSE(main.control("imgPhones").visible());
    EXPECT_FALSE(main.control("imgSat").visible());
    EXPECT_FALSE(main.control("imgQuad").visible());
    EXPECT_EQ(main.control("cboA3DType").selectedText(), "Headphones");
    // Picking the entry shown is a choice: it is written and its picture shown.
    main.control("cboA3DType").pick("Headphones");
    EXPECT_EQ(reg::dword(settings::PrimaryXtalk()), 0u);
    EXPECT_TRUE(main.control("imgPhones").visible());
    EXPECT_FALSE(main.control("imgMon").visible());
}

TEST_F(Dialogs, TheTwoBuildsOfOneDriverVersionAreToldApartBySize) {
    struct Case {
        const char* fixture;
        bool windowsUpdate;  // else the build that came with Windows XP
        bool liveA3D;
    } const cases[] = {
        {"drv-2560-747392\\adm8830.sys", false, false},
        {"drv-2560-702080\\adm8830.sys", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fixture);
        clearProgramRegistry();
        clearDriverFiles();
        installDriver();
        copyFile(fixture(c.fixture), systemDir() + "\\drivers\\adm8830.sys");
        if (c.liveA3D) copyFile(fixture("a3d\\a3d.dll"), systemDir() + "\\a3d.dll");
        Window main = startMain();
        main.control("SSTab1").choose(kTabA3D);
        ASSERT_EQ(main.control("txtDrvVer").text(), "5.12.1.2560");

        main.control("cmdDrvVerHlp").click();
        Window dlg = app.form("frmDrvVer");
        const std::string verdict = dlg.control("lblDrvVer").text();
        if (!c.windowsUpdate) {
            EXPECT_EQ(verdict, kOriginalXp);
        } else {
            // Ends with the name of a support site and a full stop.
            const std::string start = kWindowsUpdateStart;
            EXPECT_EQ(verdict.compare(0, start.size(), start), 0) << verdict;
            EXPECT_GT(verdict.size(), start.size() + 1) << verdict;
            EXPECT_EQ(verdict.back(), '.') << verdict;
        }
        EXPECT_EQ(dlg.control("lblA3D").text(), c.liveA3D ? kA3DLive : kA3DOk);
        dlg.control("cmdOK").click();
        expectGivenBack(main, "frmDrvVer");
        app.kill();
    }
}

TEST_F(Dialogs, TheLevelHelpExplainsTheAc97Scale) {
    installDriver();
    Window main = startMain();
    main.control("SSTab1").choose(kTabAC97);
    main.control("cmdAC97Help").clickAsync();
    MsgBox box = app.messageBox();
    EXPECT_EQ(box.text(), "0 = +12dB, 1 = +10.5dB, 8 = 0dB (Default), 31 = -34.5dB");
    EXPECT_EQ(box.title(), "Information");
    EXPECT_EQ(box.icon(), Icon::Information);
    EXPECT_EQ(box.buttons(), std::vector<int>{IDOK_});
    box.answer(IDOK_);
    EXPECT_TRUE(waitUntil([&] { return main.usable(); }, scaled(kStepTimeout)));
    EXPECT_FALSE(aBoxAppears());
    main.control("hsbFront").moveTo(9);
    EXPECT_EQ(reg::dword(settings::AC97MixerFrontOutVol()), 9u);
}

TEST_F(Dialogs, TheDiagnosisAndA3DBoxesOpenMidScreenAndTheAboutBoxHasALargeTitleAndNoIcon) {
    installDriver();
    Window main = startMain();
    EXPECT_TRUE(showsWindowIcon(main));
    EXPECT_TRUE(hasImageList(main.control("ListView1"), false));
    EXPECT_TRUE(hasImageList(main.control("ListView1"), true));

    // The main window in a corner, so that over it and mid-screen differ.
    const Box work = workArea();
    const Box before = screenBox(main);
    moveControlBy(main, work.left - before.left, work.top - before.top, 0, 0);
    const Box owner = screenBox(main);
    struct Case {
        const char* button;
        int tab;  // -1: below the tabs
        const char* form;
        bool midScreen;  // else over the main window
    } const cases[] = {
        {"cmdReset", -1, "frmReset", false},
        {"cmdDrvVerHlp", kTabA3D, "frmDrvVer", true},
        {"cmdAboutA3D", kTabA3D, "frmAboutA3D", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.form);
        if (c.tab >= 0) main.control("SSTab1").choose(c.tab);
        main.control(c.button).click();
        Window dlg = app.form(c.form);
        const Box at = screenBox(dlg), around = c.midScreen ? work : owner;
        EXPECT_NEAR(middleX(at), middleX(around), 1) << at.describe();
        EXPECT_NEAR(middleY(at), middleY(around), 1) << at.describe();
        EXPECT_TRUE(showsWindowIcon(dlg));
        dlg.control("cmdOK").click();
        expectGivenBack(main, c.form);
    }

    main.control("cmdAbout").click();
    Window about = app.form("frmAbout");
    EXPECT_FALSE(showsWindowIcon(about));
    const Shot shot = shoot(about);
    const int title = inkHeight(shot, screenBox(about.control("Label2")));
    const int version = inkHeight(shot, screenBox(about.control("Label4")));
    EXPECT_GT(version, 0);
    EXPECT_GE(title * 2, version * 3) << title << " rows of title, " << version << " of version";
}
