// The main window's buttons hand over to their dialogs and get the window back.
#include "test_main_fixture.h"

namespace mainwin {
namespace {

struct MainButtons : MainWindowTest {
    // Presses `b`, expects a dialog named `name` over a hidden, disabled main
    // window, closes it with its close box and expects the window back.
    void opensAndGivesBack(ui::Button& b, const std::string& name) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(b.usable());
        b.click();
        ui::Form* d = w->openChild();
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->name(), name);
        EXPECT_TRUE(d->visible());
        EXPECT_FALSE(w->visible());
        EXPECT_FALSE(w->enabled());
        d->closeBox();
        EXPECT_EQ(w->openChild(), nullptr);
        EXPECT_TRUE(w->visible());
        EXPECT_TRUE(w->enabled());
    }
};

TEST_F(MainButtons, EveryDialogButtonHandsOverAndTheCloseBoxGivesTheWindowBack) {
    env.mem.setDword(key::WpcrsetService, "Start", 0);
    env.mem.setDword(key::WpcrsetParameters, "Start", 1);
    frmMain& f = loadFresh();
    f.SSTab1.setCurrentTab(4);
    opensAndGivesBack(f.cmdEQSettings, "frmEQ");
    f.SSTab1.setCurrentTab(0);
    opensAndGivesBack(f.cmdWPCRSET, "frmWPCRSET");
    f.SSTab1.setCurrentTab(2);
    opensAndGivesBack(f.cmdDrvVerHlp, "frmDrvVer");
    opensAndGivesBack(f.cmdAboutA3D, "frmAboutA3D");
    opensAndGivesBack(f.cmdReset, "frmReset");
    // Opened again, each dialog is made afresh and loads again.
    f.SSTab1.setCurrentTab(4);
    opensAndGivesBack(f.cmdEQSettings, "frmEQ");
}

TEST_F(MainButtons, AboutLeavesTheMainWindowVisibleButUnusable) {
    frmMain& f = loadFresh();
    f.cmdAbout.click();
    ui::Form* about = f.openChild();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->name(), "frmAbout");
    EXPECT_TRUE(f.visible());
    EXPECT_FALSE(f.enabled());
    about->closeBox();
    EXPECT_TRUE(f.visible());
    EXPECT_TRUE(f.enabled());
}

TEST_F(MainButtons, DriverDiagnosisSeesTheTextsAsTheyStandWhenItOpens) {
    frmMain& f = loadFresh();
    EXPECT_EQ(f.txtDrvVer.text(), "5.12.1.2559");
    f.cmdDrvVerHlp.click();
    ui::Form* d = f.openChild();
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(env.mem.log().empty());
}

TEST_F(MainButtons, QuadWarningNoOpensNothingAndYesOpensTheDialogUnderTheSecondMessage) {
    frmMain& f = loadFresh();
    env.msg.answers = {ui::ID_NO};
    f.cmdQuad.click();
    EXPECT_EQ(f.openChild(), nullptr);
    EXPECT_TRUE(f.visible() && f.enabled());
    ASSERT_EQ(env.msg.shown.size(), 1u);
    EXPECT_EQ(env.msg.shown[0].style, ui::MB_YESNO_);

    env.msg.answers = {ui::ID_YES};
    f.cmdQuad.click();
    ui::Form* q = f.openChild();
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(q->name(), "frmQuad");
    EXPECT_FALSE(f.visible());
    ASSERT_EQ(env.msg.shown.size(), 3u);
    EXPECT_EQ(env.msg.shown[2].owner, "frmQuad");
    EXPECT_EQ(env.msg.shown[2].style, ui::MB_INFORMATION_);
}

TEST_F(MainButtons, ResetAllSettingsThroughTheMainWindowShowsOnlyTheMonitorPicture) {
    set(PrimaryXtalk(), 0);
    frmMain& f = loadFresh();
    EXPECT_TRUE(f.imgPhones.visible());
    f.cmdReset.click();
    ui::Form* r = f.openChild();
    ASSERT_NE(r, nullptr);
    auto* all = dynamic_cast<ui::Button*>(r->find("cmdResetAll"));
    ASSERT_NE(all, nullptr) << "the reset dialog's Reset All button";
    all->click();
    EXPECT_TRUE(f.imgMon.visible());
    EXPECT_FALSE(f.imgPhones.visible() || f.imgSat.visible() || f.imgQuad.visible());
    EXPECT_EQ(f.cboA3DType.listIndex(), 0);  // the list keeps its selection
    EXPECT_EQ(dword(PrimaryXtalk()), 2u);
}

}  // namespace
}  // namespace mainwin

namespace mainwin {
namespace {

// A limited account can read the driver's keys but not open them for
// change: the window says so once, and still shows what it read.
TEST_F(MainWindowTest, ALimitedAccountIsToldOnceThatChangesCannotBeSaved) {
    env.mem.denyAccess(key::Customization);
    frmMain& f = load();
    ASSERT_EQ(env.msg.shown.size(), 1u);
    EXPECT_EQ(env.msg.shown[0].title, "Information");
    EXPECT_EQ(env.msg.shown[0].style, ui::MB_INFORMATION_);
    EXPECT_NE(env.msg.shown[0].text.find("administrator"), std::string::npos);
    EXPECT_EQ(f.cboA3DType.listIndex(), 2);  // ControlPanel still read
    f.hide();
    f.show();
    EXPECT_EQ(env.msg.shown.size(), 1u);
}

TEST_F(MainWindowTest, FullRightsOrMissingDriverKeysSayNothing) {
    load();
    EXPECT_TRUE(env.msg.shown.empty());
    qmtest::TestEnv bare;
    frmMain w2(bare.services(), bare.ui());
    w2.show();
    EXPECT_TRUE(bare.msg.shown.empty());
}

TEST_F(MainWindowTest, OverrideTellsALimitedAccountToo) {
    env.version.set2000();
    env.mem.denyAccess(key::ControlPanel);
    frmMain& f = load();
    ASSERT_EQ(env.msg.shown.size(), 1u);  // only the wrong-system warning
    f.cmdOverride.click();
    ASSERT_EQ(env.msg.shown.size(), 3u);
    EXPECT_NE(env.msg.shown[2].text.find("administrator"), std::string::npos);
}

}  // namespace
}  // namespace mainwin
