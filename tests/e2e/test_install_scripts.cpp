// The release's scripts that put the Control Panel item in and take it out,
// run by Wine's cmd.exe as a user runs them, and read back: the item in the
// system folder, its category value; and that a refusal changes nothing.
#include <cstdlib>
#include <string>

#include "AppTest.h"

#include <windows.h>

using namespace e2e;

namespace {

const char* const kRelease = "C:\\qm-release";
// A Windows folder of the test's own, whose system folder can be closed.
const char* const kLimitedRoot = "C:\\qm-limited";
const char* const kCategoryKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Control Panel\\Extended Properties\\"
    "{305CA226-D286-468e-B848-2B2E8E697B74} 2";

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The repository's dist folder, found above the Control Panel item's build folder.
std::string distFolder() {
    std::string at = App::defaultApplet();
    for (std::size_t slash; (slash = at.find_last_of('\\')) != std::string::npos;) {
        at.erase(slash);
        if (exists(at + "\\dist\\install-control-panel.cmd")) return at + "\\dist";
    }
    return std::string();
}

struct InstallScripts : AppTest {
    std::string dist;
    bool locked = false;

    void SetUp() override {
        AppTest::SetUp();
        dist = distFolder();
        ASSERT_FALSE(dist.empty()) << "no dist folder above " << App::defaultApplet();
        for (const char* f : {"install-control-panel.cmd", "uninstall-control-panel.cmd"})
            copyFile(dist + "\\" + f, std::string(kRelease) + "\\" + f);
        copyFile(App::defaultApplet(), std::string(kRelease) + "\\quillmere.cpl");
        copyFile(App::defaultApplet(), std::string(kLimitedRoot) + "\\system32\\placeholder");
        removeFile(std::string(kLimitedRoot) + "\\system32\\placeholder");
    }
    void TearDown() override {
        unlock();
        AppTest::TearDown();
    }

    // Runs a script as a user would, Enter answering its closing pause;
    // its exit code, and what it said in `said`. With `root`, the Windows
    // folder it sees is that one (Wine sets SystemRoot anew in every
    // process it starts, so the script's own cmd.exe sets it).
    unsigned run(const char* script, std::string& said, const char* root = nullptr) {
        const std::string out = std::string(kRelease) + "\\said.txt";
        removeFile(out);
        const std::string setRoot = root ? "set SystemRoot=" + std::string(root) + "&& " : std::string();
        const unsigned code = runToEnd("cmd.exe /c " + setRoot + std::string(kRelease) + "\\" + script + " <nul >" + out + " 2>&1");
        said = readFile(out).value_or("");
        return code;
    }

    // Closes the limited root's system folder to new folders. Wine has no
    // limited accounts, and the tests may run as root, whom no permission
    // stops; so the folder moves aside and a file takes its name, where md
    // fails as it does for a limited account.
    std::string aside() const { return std::string(kLimitedRoot) + "\\system32.aside"; }
    void lock() {
        ASSERT_TRUE(MoveFileA((std::string(kLimitedRoot) + "\\system32").c_str(), aside().c_str()));
        locked = true;
        writeFile(std::string(kLimitedRoot) + "\\system32", "");
    }
    void unlock() {
        if (!locked) return;
        removeFile(std::string(kLimitedRoot) + "\\system32");
        MoveFileA(aside().c_str(), (std::string(kLimitedRoot) + "\\system32").c_str());
        locked = false;
    }
};

TEST_F(InstallScripts, InstallCopiesTheItemAndFilesItUninstallTakesBothOut) {
    const std::string item = systemDir() + "\\quillmere.cpl";
    const std::string leftover = systemDir() + "\\quillmere-install.tmp";
    writeFile(leftover, "");  // an earlier version's probe
    std::string said;
    EXPECT_EQ(run("install-control-panel.cmd", said), 0u) << said;
    EXPECT_NE(said.find("Quillmere now shows in Control Panel"), std::string::npos) << said;
    EXPECT_EQ(readFile(item), readFile(std::string(kRelease) + "\\quillmere.cpl"));
    const auto category = reg::get(kCategoryKey, item);
    ASSERT_TRUE(category) << said;
    EXPECT_EQ(category->dword(), 4u);
    EXPECT_FALSE(exists(leftover));
    WIN32_FIND_DATAA d;
    HANDLE probes = FindFirstFileA((systemDir() + "\\quillmere-check-*").c_str(), &d);
    EXPECT_EQ(probes, INVALID_HANDLE_VALUE) << "a probe was left: " << d.cFileName;
    if (probes != INVALID_HANDLE_VALUE) FindClose(probes);

    EXPECT_EQ(run("uninstall-control-panel.cmd", said), 0u) << said;
    EXPECT_FALSE(exists(item)) << said;
    EXPECT_FALSE(reg::get(kCategoryKey, item)) << said;
}

// Installed into the test's own Windows folder, whose system folder then
// takes no new folder: neither script gets past its check, and neither
// changes anything.
TEST_F(InstallScripts, WithoutRightsToTheSystemFolderBothRefuseAndChangeNothing) {
    const std::string item = std::string(kLimitedRoot) + "\\system32\\quillmere.cpl";
    std::string said;
    ASSERT_EQ(run("install-control-panel.cmd", said, kLimitedRoot), 0u) << said;
    ASSERT_TRUE(reg::get(kCategoryKey, item)) << said;
    ASSERT_NO_FATAL_FAILURE(lock());
    const reg::Snapshot before = reg::snapshot({kCategoryKey});
    const auto installed = readFile(aside() + "\\quillmere.cpl");

    EXPECT_EQ(run("uninstall-control-panel.cmd", said, kLimitedRoot), 1u) << said;
    EXPECT_NE(said.find("needs an administrator"), std::string::npos) << said;
    EXPECT_EQ(run("install-control-panel.cmd", said, kLimitedRoot), 1u) << said;
    EXPECT_NE(said.find("needs an administrator"), std::string::npos) << said;
    EXPECT_EQ(reg::diff(before, reg::snapshot({kCategoryKey})), "");
    EXPECT_EQ(readFile(aside() + "\\quillmere.cpl"), installed);

    unlock();
    EXPECT_EQ(run("uninstall-control-panel.cmd", said, kLimitedRoot), 0u) << said;
    EXPECT_FALSE(exists(item));
    EXPECT_FALSE(reg::get(kCategoryKey, item));
}

}  // namespace
