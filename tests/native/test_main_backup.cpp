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
    EXPECT_EQ(f.systemCommands()[1].caption, "Res&tore Settings...");
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
    const backup::Backup expected = backup::makeBackup(env.store);
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
    const std::size_t stored = backup::makeBackup(env.store).values;
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
    env.mem.setRaw(key::A3D, "SplashScreen", platform::ValueType::Text, {'1', 0});  // as regedit stores a text
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
    EXPECT_EQ(env.mem.get(key::A3D, "SplashScreen")->type, platform::ValueType::Text);
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

const char* const kCopies = "C:\\Documents and Settings\\Ann\\Application Data\\Quillmere";

// What the loading sequence would rewrite: the tray command as
// "au30tray.exe", the wavetable companions, the created values.
TEST_F(MainBackup, AfterARestoreOrAnUndoTheWindowShowsTheRegistryAndWritesNothing) {
    setText(AU30TRAY(), "C:\\Tools\\AU30TRAY.EXE");
    set(SoftSynthModeIndex(), 1);
    set(PrimaryXtalk(), 3);
    env.reg.RemoveRegValue(platform::Root::LocalMachine, key::ControlPanel, "HighPerformanceMIDI");
    frmMain& f = loadFresh();
    f.chkTray.setValue(0);
    f.cboA3DType.setListIndex(0);
    env.msg.answers = {ui::ID_YES};
    f.runSystemCommand(kUndo);
    const std::string started = backup::makeBackup(env.store).text;
    EXPECT_EQ(f.chkTray.value(), 1);
    EXPECT_EQ(f.cboWavetableMode.listIndex(), 1);
    EXPECT_EQ(f.cboA3DType.listIndex(), 3);
    EXPECT_TRUE(f.imgQuad.visible());
    EXPECT_FALSE(f.imgPhones.visible());
    EXPECT_EQ(env.mem.getString(key::Run, "AU30TRAY"), "C:\\Tools\\AU30TRAY.EXE");
    EXPECT_FALSE(has(HighPerformanceMIDI()));  // as it was before the load created it

    env.msg.shown.clear();
    f.runSystemCommand(kUndo);
    ASSERT_EQ(env.msg.shown.size(), 1u);
    EXPECT_EQ(lastMessage().text, "No setting has changed since Quillmere started.");

    // A restore of that state writes what the file holds and nothing more.
    backUp(f);
    f.chkTray.setValue(0);
    env.mem.clearLog();
    restore(f, ui::ID_YES);
    EXPECT_EQ(backup::makeBackup(env.store).text, started);
}

// WPCRSET is not installed here: its keys are missing.
TEST_F(MainBackup, ValuesWhoseKeysAreMissingAreCountedAndTold) {
    frmMain& f = loadFresh();
    env.documents.files[kFile] = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\" + std::string(key::WpcrsetParameters) +
                                 "]\r\n\"RegCnt\"=dword:00000001\r\n\"Reg00\"=dword:00000002\r\n\"Reg01\"=-\r\n"
                                 "[HKEY_LOCAL_MACHINE\\" + std::string(key::Customization) +
                                 "]\r\n\"CorrectLA2\"=dword:00000000\r\n";
    restore(f, ui::ID_YES);
    EXPECT_EQ(dword(CorrectLA2()), 0u);
    EXPECT_EQ(lastMessage().title, "Restore Settings");
    EXPECT_EQ(lastMessage().style, 48);
    EXPECT_EQ(lastMessage().text, "2 settings could not be restored: their keys are missing, for example because the "
                                  "driver is not installed.");
}

TEST_F(MainBackup, ASafetyCopyOfWhatIsStoredComesBeforeARestoreOrAnUndo) {
    frmMain& f = loadFresh();
    backUp(f);
    f.hsbPCM1.setValue(20);
    const std::string changed = backup::makeBackup(env.store).text;
    restore(f, ui::ID_YES);
    const std::string first = std::string(kCopies) + "\\Before restore 2026-03-07 143005.reg";
    EXPECT_EQ(env.documents.files[first], changed);
    f.hsbPCM1.setValue(21);
    env.clock.date.second = 6;
    env.msg.answers = {ui::ID_YES};
    const std::string beforeUndo = backup::makeBackup(env.store).text;
    f.runSystemCommand(kUndo);
    EXPECT_EQ(env.documents.files[std::string(kCopies) + "\\Before undo 2026-03-07 143006.reg"], beforeUndo);

    // The copy restores as any backup does.
    restore(f, ui::ID_YES, first.c_str());
    EXPECT_EQ(f.hsbPCM1.value(), 20);
}

TEST_F(MainBackup, TheRestoreDialogOpensAmongTheCopiesUntilTheUserChoosesAFolder) {
    frmMain& f = loadFresh();
    f.runSystemCommand(kRestore);
    EXPECT_EQ(env.dialogs.asked.back().initialFolder, kCopies);
    backUp(f);
    f.runSystemCommand(kRestore);
    EXPECT_EQ(env.dialogs.asked.back().initialFolder, "C:\\Backups");
}

TEST_F(MainBackup, OnlyTheNewestTwentyCopiesAreKeptAndNothingElseOfTheFolderIsTouched) {
    for (int i = 0; i < 25; ++i)
        env.documents.files[std::string(kCopies) + "\\Before undo 2026-03-0" + std::to_string(1 + i % 6) + " 1200" +
                            (i < 10 ? "0" : "") + std::to_string(i) + ".reg"] = "x";
    for (const char* own : {"\\mine.reg", "\\Before lunch.reg", "\\Before undo 2020-01-01 000000.txt"})
        env.documents.files[std::string(kCopies) + own] = "mine";
    frmMain& f = loadFresh();
    f.hsbPCM1.setValue(20);
    env.msg.answers = {ui::ID_YES};
    f.runSystemCommand(kUndo);
    const std::vector<std::string> left = env.documents.filesIn(kCopies, "*");
    EXPECT_EQ(left.size(), 23u);
    EXPECT_TRUE(env.documents.files.count(std::string(kCopies) + "\\Before undo 2026-03-07 143005.reg"));
    EXPECT_TRUE(env.documents.files.count(std::string(kCopies) + "\\Before undo 2026-03-06 120023.reg"));
    EXPECT_FALSE(env.documents.files.count(std::string(kCopies) + "\\Before undo 2026-03-01 120000.reg"));
    EXPECT_TRUE(env.documents.files.count(std::string(kCopies) + "\\Before lunch.reg"));
}

TEST_F(MainBackup, WithoutASafetyCopyTheUserIsAskedAndNoWritesNothing) {
    frmMain& f = loadFresh();
    f.hsbPCM1.setValue(20);
    env.documents.failWith = platform::FileStatus::AccessDenied;
    env.mem.clearLog();
    env.msg.answers = {ui::ID_YES, ui::ID_NO};
    f.runSystemCommand(kUndo);
    EXPECT_EQ(lastMessage().text, "No copy of the settings as they are could be saved to " + std::string(kCopies) +
                                      "\\Before undo 2026-03-07 143005.reg: access to it was denied.  Without it, the "
                                      "undo cannot be undone later.  Go on without a copy?");
    EXPECT_EQ(lastMessage().title, "Undo Changes");
    EXPECT_EQ(lastMessage().style, 4 + 48);
    EXPECT_TRUE(env.mem.log().empty());

    env.folders.appData.reset();
    env.msg.answers = {ui::ID_YES, ui::ID_YES};
    f.runSystemCommand(kUndo);
    EXPECT_NE(env.msg.shown[env.msg.shown.size() - 1].text.find("could be saved: no Application Data folder was found."), std::string::npos);
    EXPECT_EQ(dword(AC97PCMOutVol()), 8u);
}

}  // namespace
}  // namespace mainwin
