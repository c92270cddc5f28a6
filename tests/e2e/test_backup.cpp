// Back up, restore and undo through the real system menu and the real file
// dialogs, read back from the real registry.
#include <cstdlib>
#include <string>
#include <vector>

#include "AppTest.h"

#include <windows.h>

using namespace e2e;

namespace {

constexpr int kTabAC97 = 3;
const char* const kFile = "C:\\qm-backup\\Quillmere settings.reg";
// The commands' places from the system menu's end.
constexpr int kBackUp = 3, kRestore = 2, kUndo = 1;

struct Backup : AppTest {
    Window main;

    void SetUp() override {
        AppTest::SetUp();
        installDriver();
        writeFile(kFile, "");  // makes the folder
        removeFile(kFile);
        clearCopies();
    }

    // The system menu's entry, then the file in its dialog.
    void command(int entry, const std::string& title, const std::string& path) {
        chooseSystemMenuEntry(app, main, entry);
        auto dialog = findFileDialog(app, title, scaled(kStartTimeout));
        ASSERT_TRUE(dialog) << "no file dialog \"" << title << "\"";
        chooseFile(*dialog, path);
    }

    // The closing message of a command; its text.
    std::string acknowledge(const std::string& title, Icon icon) {
        MsgBox box = app.messageBox();
        EXPECT_EQ(box.title(), title);
        EXPECT_EQ(box.icon(), icon);
        const std::string text = box.text();
        box.answer(IDOK_);
        return text;
    }

    // The question of a restore or an undo, answered Yes.
    void confirm(const std::string& title) {
        MsgBox q = app.messageBox();
        EXPECT_EQ(q.title(), title);
        EXPECT_EQ(q.buttons(), (std::vector<int>{IDYES_, IDNO_}));
        q.answer(IDYES_);
        waitUntilIdle(main);
    }

    // The safety copies' folder, in Application Data as Wine gives it to
    // this account, which the program runs as too; emptied for each test.
    static std::string copiesFolder() {
        const char* appData = std::getenv("APPDATA");
        return std::string(appData ? appData : "C:\\users\\Public") + "\\Quillmere";
    }
    static std::vector<std::string> copies(const std::string& pattern = "*") {
        std::vector<std::string> names;
        WIN32_FIND_DATAA d;
        HANDLE h = FindFirstFileA((copiesFolder() + "\\" + pattern).c_str(), &d);
        if (h == INVALID_HANDLE_VALUE) return names;
        do {
            if (!(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(d.cFileName);
        } while (FindNextFileA(h, &d));
        FindClose(h);
        return names;
    }
    static void clearCopies() {
        for (const std::string& n : copies()) removeFile(copiesFolder() + "\\" + n);
    }

    void changeLevels() {
        main.control("SSTab1").choose(kTabAC97);
        main.control("hsbPCM1").moveTo(20);
        main.control("chkLA2Inv").click();
    }
};

TEST_F(Backup, ChangedSettingsComeBackFromTheBackupAndTheWindowShowsThem) {
    reg::set(settings::AC97PCMOutVol(), 12);
    main = startMain();
    const reg::Snapshot backedUp = snapshotProgramKeys();

    ASSERT_NO_FATAL_FAILURE(command(kBackUp, "Back Up Settings", kFile));
    EXPECT_NE(acknowledge("Back Up Settings", Icon::Information).find(kFile), std::string::npos);
    const auto file = readFile(kFile);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->substr(0, 12), "REGEDIT4\r\n\r\n");

    changeLevels();
    reg::set(settings::PrimaryXtalk(), 0);  // behind the window's back
    ASSERT_NE(reg::diff(backedUp, snapshotProgramKeys()), "");

    ASSERT_NO_FATAL_FAILURE(command(kRestore, "Restore Settings", kFile));
    confirm("Restore Settings");
    EXPECT_EQ(reg::diff(backedUp, snapshotProgramKeys()), "");
    EXPECT_EQ(main.control("hsbPCM1").position(), 12);
    EXPECT_EQ(main.control("lblPCM1").text(), "12");
    EXPECT_EQ(main.control("chkLA2Inv").checked(), 1);
    EXPECT_EQ(main.control("cboA3DType").selectedIndex(), 2);
}

TEST_F(Backup, RegeditImportsTheBackupAsItStands) {
    main = startMain();
    const reg::Snapshot backedUp = snapshotProgramKeys();
    ASSERT_NO_FATAL_FAILURE(command(kBackUp, "Back Up Settings", kFile));
    acknowledge("Back Up Settings", Icon::Information);
    changeLevels();
    EXPECT_EQ(runToEnd("regedit.exe /s \"" + std::string(kFile) + "\""), 0u);
    EXPECT_EQ(reg::diff(backedUp, snapshotProgramKeys()), "");
}

TEST_F(Backup, UndoPutsBackWhatTheProgramFoundAtStart) {
    reg::createKey(settings::key::A3D);  // the A3D runtime's, without the values the load creates
    const reg::Snapshot started = snapshotProgramKeys();
    main = startMain();
    changeLevels();
    chooseSystemMenuEntry(app, main, kUndo);
    confirm("Undo Changes");
    EXPECT_EQ(reg::diff(started, snapshotProgramKeys()), "");
    EXPECT_EQ(main.control("hsbPCM1").position(), 8);
}

TEST_F(Backup, ACutOffFileIsRefusedAndNothingWritten) {
    writeFile(kFile, "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\wdm_au8830\\Customization]"
                     "\r\n\"AC97PCMOutVol\"=dword:000");
    main = startMain();
    const reg::Snapshot before = snapshotProgramKeys();
    ASSERT_NO_FATAL_FAILURE(command(kRestore, "Restore Settings", kFile));
    acknowledge("Restore Settings", Icon::Critical);
    EXPECT_EQ(reg::diff(before, snapshotProgramKeys()), "");
}

// The tray's autostart is off by its value's absence: a restore removes it
// again, and the window shows it off without rewriting anything. An undo
// then leaves nothing for a second undo to do.
TEST_F(Backup, AnAbsentValueComesBackAbsentAndTheWindowWritesNothingBack) {
    reg::setString(settings::key::Run, "AU30TRAY", "C:\\Tools\\AU30TRAY.EXE");
    main = startMain();  // rewrites it as "au30tray.exe"
    main.control("chkTray").click();
    ASSERT_FALSE(reg::exists(settings::AU30TRAY()));
    ASSERT_NO_FATAL_FAILURE(command(kBackUp, "Back Up Settings", kFile));
    acknowledge("Back Up Settings", Icon::Information);
    const reg::Snapshot backedUp = snapshotProgramKeys();

    main.control("chkTray").click();
    ASSERT_TRUE(reg::exists(settings::AU30TRAY()));
    ASSERT_NO_FATAL_FAILURE(command(kRestore, "Restore Settings", kFile));
    confirm("Restore Settings");
    EXPECT_EQ(reg::diff(backedUp, snapshotProgramKeys()), "");
    EXPECT_EQ(main.control("chkTray").checked(), 0);

    chooseSystemMenuEntry(app, main, kUndo);
    confirm("Undo Changes");
    EXPECT_EQ(reg::text(settings::AU30TRAY()), "C:\\Tools\\AU30TRAY.EXE");
    EXPECT_EQ(main.control("chkTray").checked(), 1);
    chooseSystemMenuEntry(app, main, kUndo);
    EXPECT_EQ(acknowledge("Undo Changes", Icon::Information), "No setting has changed since Quillmere started.");
    EXPECT_EQ(reg::text(settings::AU30TRAY()), "C:\\Tools\\AU30TRAY.EXE");
}

// A restore, an undo and a reset each leave a copy of what they replaced in
// Application Data; the Restore dialog opens there, and a copy restores.
TEST_F(Backup, EveryBulkWriteLeavesASafetyCopyTheUserCanRestore) {
    main = startMain();
    ASSERT_NO_FATAL_FAILURE(command(kBackUp, "Back Up Settings", kFile));
    acknowledge("Back Up Settings", Icon::Information);
    changeLevels();
    const reg::Snapshot changed = snapshotProgramKeys();

    ASSERT_NO_FATAL_FAILURE(command(kRestore, "Restore Settings", kFile));
    confirm("Restore Settings");
    const std::vector<std::string> beforeRestore = copies("Before restore *.reg");
    ASSERT_EQ(beforeRestore.size(), 1u);
    EXPECT_EQ(main.control("hsbPCM1").position(), 8);

    chooseSystemMenuEntry(app, main, kUndo);
    confirm("Undo Changes");
    EXPECT_EQ(copies("Before undo *.reg").size(), 1u);

    Window reset = openDialog(app, main, "frmReset");
    reset.control("cmdMIDIFX").click();
    reset.control("cmdDigIn").click();
    EXPECT_EQ(copies("Before reset *.reg").size(), 1u);
    reset.control("cmdOK").click();
    expectGivenBack(main, "frmReset");

    // A new start: the Open dialog is in the copies' folder, so the name alone finds it.
    app.kill();
    main = startMain();
    ASSERT_NO_FATAL_FAILURE(command(kRestore, "Restore Settings", beforeRestore[0]));
    confirm("Restore Settings");
    EXPECT_EQ(reg::diff(changed, snapshotProgramKeys()), "");
    EXPECT_EQ(main.control("hsbPCM1").position(), 20);
}

TEST_F(Backup, GreyedOffXPUntilOverride) {
    setReportedWindows("win2k");
    app.start();
    app.messageBox(scaled(kStartTimeout)).answer(IDOK_);
    main = app.form("frmMain");
    chooseSystemMenuEntry(app, main, kBackUp);
    EXPECT_FALSE(findFileDialog(app, "Back Up Settings", scaled(2000)));
    closeOpenMenus(app);
}

}  // namespace
