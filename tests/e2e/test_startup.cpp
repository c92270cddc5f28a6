// Start-up of the real program: the Windows check, the stored settings on
// the main window, and the two ways out.
#include <cstring>

#include "AppTest.h"

using namespace e2e;

namespace {

constexpr int kTabA3D = 2;
constexpr int kTabAC97 = 3;

const char* const kNotXp =
    "You don't appear to be running Windows XP.  This control panel will only work with Windows XP.  Please use the "
    "Control Panel application included with the drivers for your operating system.  You may use the Override "
    "button if you're sure that you're running XP.";

}  // namespace

class Startup : public AppTest {
protected:
    // A driver as its setup leaves it, with a few values that differ from
    // the defaults so that each shows it was read.
    void installStoredDriver() {
        installDriver();
        reg::set(settings::AC97PCMOutVol(), 5);
        reg::set(settings::AC97MixerFrontOutVol(), 8);
        reg::set(settings::AC97MixerRearOutVol(), 31);
        reg::set(settings::PrimaryXtalk(), 2);
        reg::createKey(settings::key::A3D);
        reg::set(settings::SplashAudio(), 0);
        reg::set(settings::SplashScreen(), 1);
        reg::setText(settings::AU30TRAY(), "C:\\Program Files\\Aureal\\AU30TRAY.EXE");
    }
};

TEST_F(Startup, OnWindowsXpTheStoredSettingsAreShown) {
    installStoredDriver();
    Window main = startMain();
    EXPECT_EQ(main.text(), "Quillmere");
    EXPECT_FALSE(app.findMessageBox().has_value());

    Control tray = main.control("chkTray");
    EXPECT_EQ(tray.checked(), 1);
    EXPECT_TRUE(tray.usable());
    // Checking the box at load writes the tray program's plain name back.
    EXPECT_EQ(reg::text(settings::AU30TRAY()), "au30tray.exe");
    EXPECT_EQ(main.control("chkPlayA3D").checked(), 0);
    EXPECT_EQ(main.control("chkA3DSplash").checked(), 1);
    // Created at load because the driver's setup does not.
    EXPECT_EQ(reg::dword(settings::HighPerformanceMIDI()), 0u);

    Control tabs = main.control("SSTab1");
    EXPECT_TRUE(tabs.enabled());
    EXPECT_EQ(tabs.count(), 5);
    EXPECT_EQ(tabs.selectedIndex(), 0);
    EXPECT_FALSE(main.control("cmdOverride").visible());
    EXPECT_TRUE(main.control("cmdReset").enabled());

    tabs.choose(kTabAC97);
    Control front = main.control("hsbFront");
    EXPECT_TRUE(front.visible());
    EXPECT_EQ(front.rangeMin(), 0);
    EXPECT_EQ(front.rangeMax(), 31);
    EXPECT_EQ(front.position(), 8);
    EXPECT_EQ(main.control("lblFront").text(), "8");
    EXPECT_EQ(main.control("hsbPCM1").position(), 5);
    EXPECT_EQ(main.control("lblPCM1").text(), "5");
    EXPECT_EQ(main.control("hsbRear").position(), 31);
    EXPECT_EQ(main.control("lblRear").text(), "31");

    tabs.choose(kTabA3D);
    Control type = main.control("cboA3DType");
    EXPECT_EQ(type.items(),
              (std::vector<std::string>{"Headphones", "Satellite Speakers", "Monitor Speakers", "Quad Speakers"}));
    EXPECT_EQ(type.selectedIndex(), 2);
    EXPECT_EQ(type.selectedText(), "Monitor Speakers");
    EXPECT_TRUE(main.control("imgMon").visible());
    EXPECT_FALSE(main.control("imgPhones").visible());
    EXPECT_FALSE(main.control("imgSat").visible());
    EXPECT_FALSE(main.control("imgQuad").visible());
}

TEST_F(Startup, MissingA3DValuesAreCreatedWithTheirKey) {
    installDriver();
    ASSERT_FALSE(reg::keyExists(settings::key::A3D));
    Window main = startMain();
    EXPECT_TRUE(reg::keyExists(settings::key::A3D));
    EXPECT_EQ(reg::dword(settings::SplashAudio()), 0u);
    EXPECT_EQ(reg::dword(settings::SplashScreen()), 0u);
    EXPECT_EQ(main.control("chkPlayA3D").checked(), 0);
    EXPECT_EQ(main.control("chkA3DSplash").checked(), 0);
    EXPECT_EQ(main.control("chkTray").checked(), 0);
    EXPECT_FALSE(reg::exists(settings::AU30TRAY()));
}

TEST_F(Startup, OkShowsTheRebootReminderAndEndsTheProgram) {
    installStoredDriver();
    Window main = startMain();
    main.control("cmdOK").clickAsync();

    MsgBox box = app.messageBox();
    EXPECT_EQ(box.text(), "Please reboot your computer so that the new settings can take effect");
    EXPECT_EQ(box.title(), "Reboot Required");
    EXPECT_EQ(box.icon(), Icon::Information);
    EXPECT_EQ(box.buttons(), std::vector<int>{IDOK_});
    EXPECT_TRUE(app.running());
    box.answer(IDOK_);
    app.waitForExit();
}

TEST_F(Startup, ClosingFromTheFrameEndsWithoutAMessage) {
    installStoredDriver();
    Window main = startMain();
    main.closeFromFrame();
    app.waitForExit();
    EXPECT_FALSE(app.findMessageBox().has_value());
}

TEST_F(Startup, OnWindows2000TheWindowRefusesAndWritesNothing) {
    installStoredDriver();
    setReportedWindows("win2k");
    const reg::Snapshot before = snapshotProgramKeys();
    app.start();

    MsgBox box = app.messageBox(scaled(kStartTimeout));
    EXPECT_EQ(box.text(), kNotXp);
    EXPECT_EQ(box.title(), "Incorrect Operating System");
    EXPECT_EQ(box.icon(), Icon::Critical);
    EXPECT_EQ(box.buttons(), std::vector<int>{IDOK_});
    box.answer(IDOK_);

    Window main = app.form("frmMain");
    EXPECT_FALSE(main.control("SSTab1").enabled());
    for (const char* off : {"cmdWPCRSET", "chkA3DSplash", "chkPlayA3D", "chkTray"})
        EXPECT_FALSE(main.control(off).enabled()) << off;
    EXPECT_TRUE(main.control("cmdOverride").usable());
    EXPECT_TRUE(main.control("cmdReset").usable());
    EXPECT_TRUE(main.control("cmdOK").usable());
    EXPECT_EQ(main.control("chkTray").checked(), 0);
    EXPECT_EQ(main.control("txtDrvVer").text(), "NA");
    EXPECT_EQ(main.control("lblFront").text(), "Label15");

    const reg::Snapshot after = snapshotProgramKeys();
    EXPECT_EQ(reg::diff(before, after), "");
}

TEST_F(Startup, StoredStatesThatSetOtherControlsAreFollowed) {
    installDriver();
    reg::set(settings::DetectSpdifOut(), 0);
    reg::set(settings::EnableSpdifOut(), 1);
    reg::set(settings::DetectSpdifIn(), 1);
    reg::set(settings::EnableSpdifIn(), 0);
    reg::set(settings::SoftSynthModeIndex(), 1);
    reg::createKey(settings::key::A3D);
    reg::set(settings::SplashAudio(), 1);
    reg::set(settings::SplashScreen(), 1);
    Window main = startMain();

    EXPECT_EQ(main.control("chkPlayA3D").checked(), 1);
    EXPECT_EQ(main.control("chkA3DSplash").checked(), 1);

    main.control("SSTab1").choose(4);
    Control enOut = main.control("chkEnOut");
    EXPECT_EQ(enOut.checked(), 1);
    EXPECT_TRUE(enOut.visible());
    EXPECT_FALSE(enOut.enabled());
    EXPECT_EQ(main.control("chkDetOut").checked(), 0);
    EXPECT_TRUE(main.control("chkEnIn").usable());
    EXPECT_EQ(main.control("chkEnIn").checked(), 0);
    EXPECT_EQ(main.control("lblDigOut").text(), "48000");

    main.control("SSTab1").choose(1);
    EXPECT_EQ(main.control("cboWavetableMode").selectedText(), "128 Voices");
    // Choosing the polyphony at load rewrites its companions.
    EXPECT_EQ(reg::dword(settings::GamerMode()), 0u);
    EXPECT_EQ(reg::dword(settings::SoftSynthVoices()), 64u);
    EXPECT_EQ(reg::dword(settings::SoftSynthMode()), 2u);
    EXPECT_EQ(reg::dword(settings::SoftSynth()), 2u);
    EXPECT_EQ(reg::dword(settings::SoftSynthModeIndex()), 1u);
}

// The driver's setup should have stored numbers in range; when it has not,
// the window must come up anyway and leave what is stored alone.
TEST_F(Startup, UnusableStoredValuesNeitherEndTheProgramNorGetRewritten) {
    installDriver();
    reg::set(settings::AC97MixerFrontOutVol(), 99);
    reg::setString(settings::key::ControlPanel, "PrimaryXtalk", "Satellite");
    reg::set(settings::SoftSynthModeIndex(), 7);
    reg::set(settings::ST9704ATTEN(), 5);
    const reg::Snapshot before = snapshotProgramKeys();

    Window main = startMain();
    EXPECT_FALSE(app.findMessageBox().has_value());
    EXPECT_EQ(main.control("cboA3DType").selectedIndex(), -1);
    EXPECT_EQ(main.control("cboWavetableMode").selectedIndex(), -1);
    EXPECT_EQ(main.control("chkAttenuation").checked(), 0);
    EXPECT_EQ(main.control("hsbFront").position(), 0);

    EXPECT_EQ(reg::dword(settings::AC97MixerFrontOutVol()), 99u);
    EXPECT_EQ(reg::get(settings::PrimaryXtalk())->text(), "Satellite");
    EXPECT_EQ(reg::dword(settings::SoftSynthModeIndex()), 7u);
    EXPECT_EQ(reg::dword(settings::ST9704ATTEN()), 5u);
    // Only what the loading creates is new.
    std::string changes = reg::diff(before, snapshotProgramKeys());
    for (const char* created : {"key created: software\\aureal\n", "key created: software\\aureal\\a3d\n",
                                "value created: software\\aureal\\a3d\\splashaudio = REG_DWORD 0\n",
                                "value created: software\\aureal\\a3d\\splashscreen = REG_DWORD 0\n"}) {
        auto at = changes.find(created);
        EXPECT_NE(at, std::string::npos) << created;
        if (at != std::string::npos) changes.erase(at, std::strlen(created));
    }
    EXPECT_EQ(changes, "value created: system\\currentcontrolset\\services\\wdm_au8830\\controlpanel\\"
                       "highperformancemidi = REG_DWORD 0\n");
    EXPECT_TRUE(app.running());
}
