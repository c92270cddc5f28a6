// The main window's system-menu commands: back up, restore, undo.
#include "test_main_fixture.h"

namespace mainwin {
namespace {

constexpr std::size_t kBackUp = 0, kRestore = 1, kUndo = 2;
const char* const kFile = "C:\\Backups\\mine.reg";

struct MainBackup : MainWindowTest {
    const qmtest::ShownMessage& lastMessage() const { return env.msg.shown.back(); }
    void backUp(frmMain& f) {
        env.dialogs.answers.push_back(kFile);
        f.runSystemCommand(kBackUp);
    }
    void restore(frmMain& f, int answer, const char* path = kFile) {
        env.dialogs.answers.push_back(std::string(path));
        env.msg.answers.push_back(answer);
        f.runSystemCommand(kRestore);
    }
};

TEST_F(MainBackup, ThreeCommandsGreyedWhileADialogHasTheWindow) {
    frmMain& f = load();
    ASSERT_EQ(f.systemCommands().size(), 3u);
    EXPECT_EQ(f.systemCommands()[0].caption, "&Back Up Settings...");
    EXPECT_EQ(f.systemCommands()[1].caption, "&Restore Settings...");
    EXPECT_EQ(f.systemCommands()[2].caption, "&Undo Changes Since Start");
    for (std::size_t i = 0; i < 3; ++i) EXPECT_TRUE(f.systemCommandEnabled(i));
    f.cmdReset.click();
    for (std::size_t i = 0; i < 3; ++i) EXPECT_FALSE(f.systemCommandEnabled(i));
    f.runSystemCommand(kBackUp);
    EXPECT_TRUE(env.dialogs.asked.empty());
}

TEST_F(MainBackup, GreyedOffXPUntilOverrideHasLoadedTheSettings) {
    env.version.set2000();
    frmMain& f = load();
    EXPECT_FALSE(f.systemCommandEnabled(kRestore));
    f.cmdOverride.click();
    EXPECT_TRUE(f.systemCommandEnabled(kRestore));
}

TEST_F(MainBackup, BacksUpWhatIsStoredToTheChosenFile) {
    frmMain& f = loadFresh();
    backUp(f);
    ASSERT_EQ(env.dialogs.asked.size(), 1u);
    const platform::FileDialogRequest& request = env.dialogs.asked[0];
    EXPECT_EQ(request.title, "Back Up Settings");
    EXPECT_EQ(request.filterName, "Registration Files (*.reg)");
    EXPECT_EQ(request.filterPattern, "*.reg");
    EXPECT_EQ(request.defaultName, "Quillmere settings 2026-03-07.reg");
    const backup::Backup expected = backup::makeBackup(env.mem);
    EXPECT_EQ(env.documents.files[kFile], expected.text);
    EXPECT_EQ(lastMessage().text, std::to_string(expected.values) + " settings were backed up to " + kFile + ".");
    EXPECT_EQ(lastMessage().title, "Back Up Settings");
    EXPECT_EQ(lastMessage().style, 64);
    EXPECT_TRUE(env.mem.log().empty());
}

TEST_F(MainBackup, AFailedWriteSaysSoAndACancelDoesNothing) {
    frmMain& f = loadFresh();
    f.runSystemCommand(kBackUp);  // cancelled
    EXPECT_TRUE(env.msg.shown.empty());
    env.documents.failWith = platform::FileStatus::DiskFull;
    backUp(f);
    EXPECT_EQ(lastMessage().text, std::string("The settings could not be backed up to ") + kFile +
                                      ": the disk is full.  No file was written.");
    EXPECT_EQ(lastMessage().style, 16);
    EXPECT_TRUE(env.documents.files.empty());
}

TEST_F(MainBackup, RestorePutsTheFilesValuesBackAndTheWindowShowsThem) {
    set(PrimaryXtalk(), 1);
    setText(AU30TRAY(), "au30tray.exe");
    frmMain& f = loadFresh();
    backUp(f);
    const std::size_t stored = backup::makeBackup(env.mem).values;
    env.documents.files[kFile] += "[HKEY_CURRENT_USER\\Software]\r\n\"x\"=dword:00000001\r\n";

    f.hsbPCM1.setValue(20);
    f.cboA3DType.setListIndex(3);
    f.chkPlayA3D.setValue(0);
    f.chkTray.setValue(0);
    f.optDigOut[0].select();
    env.mem.clearLog();

    restore(f, ui::ID_NO);
    EXPECT_EQ(lastMessage().text, std::to_string(stored) + " settings will be restored from " + kFile +
                                      "; 2 entries of the file will be skipped.  Restore them now?");
    EXPECT_EQ(lastMessage().title, "Restore Settings");
    EXPECT_EQ(lastMessage().style, 4);
    EXPECT_TRUE(env.mem.log().empty());

    restore(f, ui::ID_YES);
    EXPECT_EQ(dword(AC97PCMOutVol()), 8u);
    EXPECT_EQ(dword(PrimaryXtalk()), 1u);
    EXPECT_EQ(dword(SplashAudio()), 1u);
    EXPECT_EQ(dword(SpdifFrequency()), 48000u);
    EXPECT_EQ(env.mem.getString(key::Run, "AU30TRAY"), "au30tray.exe");
    EXPECT_EQ(f.hsbPCM1.value(), 8);
    EXPECT_EQ(f.lblPCM1.caption(), "8");
    EXPECT_EQ(f.cboA3DType.listIndex(), 1);
    EXPECT_TRUE(f.imgSat.visible());
    EXPECT_FALSE(f.imgQuad.visible());
    EXPECT_EQ(f.chkPlayA3D.value(), 1);
    EXPECT_EQ(f.chkTray.value(), 1);
    EXPECT_EQ(f.optDigOut.selected(), -1);
    EXPECT_EQ(f.lblDigOut.caption(), "48000");
}

TEST_F(MainBackup, ABrokenFileIsRefusedAndNothingWritten) {
    frmMain& f = loadFresh();
    env.documents.files[kFile] = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Aureal\\A3D]\r\n\"SplashAudio\"=dword:0000";
    restore(f, ui::ID_YES);
    EXPECT_EQ(lastMessage().text,
              std::string(kFile) + " ends in the middle of a value; it may have been cut off.  Nothing was restored.");
    EXPECT_EQ(lastMessage().title, "Restore Settings");
    EXPECT_EQ(lastMessage().style, 16);
    restore(f, ui::ID_YES, "C:\\missing.reg");
    EXPECT_EQ(lastMessage().text,
              "C:\\missing.reg could not be read: the file or its folder does not exist.  Nothing was restored.");
    EXPECT_EQ(env.msg.shown.size(), 2u);  // no question asked
    EXPECT_TRUE(env.mem.log().empty());
}

TEST_F(MainBackup, UndoPutsBackWhatWasStoredBeforeTheLoadingSequence) {
    env.mem.setRaw(key::A3D, "SplashScreen", platform::REG_SZ, {'1', 0});  // as regedit stores a text
    frmMain& f = loadFresh();
    f.chkA3DSplash.setValue(1);
    f.hsbRear.setValue(30);
    f.cmdFixDetect.click();
    env.msg.answers.push_back(ui::ID_YES);
    f.runSystemCommand(kUndo);
    EXPECT_EQ(env.msg.shown[0].text,
              "The settings will go back to what they were when Quillmere started.  Undo the changes?");
    EXPECT_EQ(env.msg.shown[0].title, "Undo Changes");
    EXPECT_EQ(env.msg.shown[0].style, 4);
    EXPECT_EQ(dword(AC97MixerRearOutVol()), 8u);
    EXPECT_EQ(f.hsbRear.value(), 8);
    EXPECT_FALSE(has(SpdifCard(1)));
    EXPECT_EQ(env.mem.get(key::A3D, "SplashScreen")->type, platform::REG_SZ);
    EXPECT_EQ(f.chkA3DSplash.value(), 0);  // as the loading sequence shows such a text
}

TEST_F(MainBackup, UndoWithNothingChangedSaysSoAndWritesNothing) {
    frmMain& f = loadFresh();
    f.runSystemCommand(kUndo);
    ASSERT_EQ(env.msg.shown.size(), 1u);
    EXPECT_EQ(lastMessage().text, "No setting has changed since Quillmere started.");
    EXPECT_EQ(lastMessage().style, 64);
    EXPECT_TRUE(env.mem.log().empty());
}

TEST_F(MainBackup, ALimitedAccountIsToldBeforeAndAfter) {
    frmMain& f = load();
    backUp(f);
    env.mem.denyAccess(key::Customization);
    env.msg.shown.clear();
    restore(f, ui::ID_YES);
    ASSERT_EQ(env.msg.shown.size(), 2u);
    EXPECT_NE(env.msg.shown[0].text.find("  Your account is not allowed to change the sound driver's settings, so they "
                                         "will not be saved.  Restore them now?"),
              std::string::npos);
    EXPECT_EQ(env.msg.shown[1].text.substr(0, 70), "Your account is not allowed to change the sound driver's settings.  Qu");
    EXPECT_EQ(env.msg.shown[1].title, "Information");
}

}  // namespace
}  // namespace mainwin
