#include "test_main_fixture.h"

namespace mainwin {
namespace {

struct MainOverride : MainWindowTest {
    void SetUp() override {
        MainWindowTest::SetUp();
        env.version.set2000();
    }
    frmMain& loadAndOverride() {
        frmMain& f = loadFresh();
        f.cmdOverride.click();
        return f;
    }
};

TEST_F(MainOverride, WarnsThenUnlocksAndShowsEverySetting) {
    set(AC97MixerFrontOutVol(), 12);
    set(PrimaryXtalk(), 3);
    set(DetectSpdifOut(), 0);
    set(EnableSpdifOut(), 0);
    frmMain& f = loadAndOverride();

    ASSERT_EQ(env.msg.shown.size(), 1u);
    EXPECT_EQ(env.msg.shown[0].text,
              "Forcing Windows XP detection is risky and can damage your Windows installation if it isn't Windows XP.");
    EXPECT_EQ(env.msg.shown[0].title, "Information");
    EXPECT_EQ(env.msg.shown[0].style, 64);
    EXPECT_FALSE(f.cmdOverride.visible());
    for (ui::Control* c : std::vector<ui::Control*>{&f.SSTab1, &f.cmdWPCRSET, &f.chkA3DSplash, &f.chkPlayA3D, &f.chkTray})
        EXPECT_TRUE(c->enabled()) << c->name();
    EXPECT_EQ(f.hsbFront.value(), 12);
    EXPECT_EQ(f.lblFront.caption(), "12");
    EXPECT_EQ(f.lblPCM1.caption(), "8");
    EXPECT_TRUE(f.imgQuad.visible());
    EXPECT_FALSE(f.imgMon.visible());
    EXPECT_EQ(f.chkA3DSplash.value(), 1);
    EXPECT_EQ(f.txtDrvVer.text(), "5.12.1.2559");
    EXPECT_EQ(f.txtADMSize.text(), "747392");
    EXPECT_EQ(f.mediaPlayerCommand(), "wmplayer.exe /Play");
    EXPECT_FALSE(f.chkEnOut.enabled());  // the driver file was found
    EXPECT_TRUE(f.cmdReset.enabled());
    EXPECT_EQ(f.ListView1.items().size(), 7u);
}

TEST_F(MainOverride, LeavesTheTrayUntickedAndItsValueAlone) {
    setText(AU30TRAY(), "C:\\Aureal\\au30tray.exe");
    frmMain& f = loadAndOverride();
    EXPECT_EQ(f.chkTray.value(), 0);
    EXPECT_EQ(env.mem.getString(key::Run, "AU30TRAY"), "C:\\Aureal\\au30tray.exe");
    for (const auto& w : writes()) EXPECT_EQ(w.find("AU30TRAY"), std::string::npos) << w;
}

TEST_F(MainOverride, CreatesTheMissingValuesLikeTheLoading) {
    for (auto* s : {&HighPerformanceMIDI(), &SplashAudio(), &SplashScreen()})
        env.reg.RemoveRegValue(platform::Root::LocalMachine, s->key, s->name);
    frmMain& f = loadAndOverride();
    for (auto* s : {&HighPerformanceMIDI(), &SplashAudio(), &SplashScreen()}) EXPECT_EQ(dword(*s), 0u) << s->name;
    EXPECT_EQ(f.chkPlayA3D.value(), 0);
    EXPECT_EQ(f.chkHighPerfMIDI.value(), 0);
}

TEST_F(MainOverride, ADriverFileFoundNowhereLeavesTheEnableBoxesEnabled) {
    env.files.lengths.clear();
    set(DetectSpdifOut(), 0);
    set(EnableSpdifOut(), 0);
    frmMain& f = loadAndOverride();
    EXPECT_EQ(f.txtADMSize.text(), "");
    EXPECT_TRUE(f.chkEnOut.enabled());
    EXPECT_TRUE(f.chkEnIn.enabled());  // DetectSpdifIn 0 as installed
    EXPECT_TRUE(f.cmdReset.enabled());
    EXPECT_EQ(env.msg.shown.size(), 1u);
}

TEST_F(MainOverride, ADriverFileAtTheDefaultWindowsFolderCountsAsFound) {
    env.files.lengths.clear();
    env.files.badNames = {"C:\\Program Files\\Quillmere\\system32\\drivers\\adm8830.sys"};
    env.files.lengths["c:\\windows\\system32\\drivers\\adm8830.sys"] = 747392;
    frmMain& f = loadAndOverride();
    EXPECT_EQ(f.txtADMSize.text(), "747392");
    EXPECT_FALSE(f.chkEnIn.enabled());
}

TEST_F(MainOverride, ADetectedTextThatIsNoNumberStopsTheClosingSteps) {
    setText(DetectSpdifOut(), "on");
    frmMain& f = loadAndOverride();
    EXPECT_TRUE(f.chkEnOut.enabled());
    EXPECT_TRUE(f.chkEnIn.enabled());  // skipped, though DetectSpdifIn is 0

    // The ordinary loading checks each pair on its own.
    env.version.setXP();
    frmMain& g = load();
    EXPECT_TRUE(g.chkEnOut.enabled());
    EXPECT_FALSE(g.chkEnIn.enabled());
}

}  // namespace
}  // namespace mainwin
