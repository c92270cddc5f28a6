// The file-name rules of the Win32 services: which names the system folder
// holds, and which typed path may be started as exactly that file.
#include <gtest/gtest.h>

#include "platform/win32/PathRules.h"

using namespace platform::win32::paths;

TEST(PathRules, OnlyFullPathsNameOnePlace) {
    EXPECT_TRUE(isAbsolute("C:\\Program Files\\AC97\\mixer.exe"));
    EXPECT_TRUE(isAbsolute("c:/tools/mixer.exe"));
    EXPECT_TRUE(isAbsolute("\\\\server\\share\\mixer.exe"));
    // Drive-relative, rooted on the current drive, relative, malformed.
    EXPECT_FALSE(isAbsolute("C:mixer.exe"));
    EXPECT_FALSE(isAbsolute("C:"));
    EXPECT_FALSE(isAbsolute("\\tools\\mixer.exe"));
    EXPECT_FALSE(isAbsolute("mixer.exe"));
    EXPECT_FALSE(isAbsolute("tools\\mixer.exe"));
    EXPECT_FALSE(isAbsolute("\\\\\\share"));
    EXPECT_FALSE(isAbsolute("1:\\x"));
    EXPECT_FALSE(isAbsolute(""));
}

TEST(PathRules, RelativeVersionFilesAreLookedForInTheSystemFolder) {
    const std::string sys = "C:\\WINDOWS\\system32";
    EXPECT_EQ(underSystemFolder("drivers\\adm8830.sys", sys), "C:\\WINDOWS\\system32\\drivers\\adm8830.sys");
    EXPECT_EQ(underSystemFolder("a3d.dll", sys), "C:\\WINDOWS\\system32\\a3d.dll");
    EXPECT_EQ(underSystemFolder("a3d.dll", sys + "\\"), "C:\\WINDOWS\\system32\\a3d.dll");
    // Names that already say where they are stay as they are.
    EXPECT_EQ(underSystemFolder("D:\\drivers\\x.sys", sys), "D:\\drivers\\x.sys");
    EXPECT_EQ(underSystemFolder("D:x.sys", sys), "D:x.sys");
    EXPECT_EQ(underSystemFolder("\\x.sys", sys), "\\x.sys");
    EXPECT_EQ(underSystemFolder("\\\\srv\\share\\x.sys", sys), "\\\\srv\\share\\x.sys");
    // Without a system folder, or without a name, nothing is invented.
    EXPECT_EQ(underSystemFolder("a3d.dll", ""), "a3d.dll");
    EXPECT_EQ(underSystemFolder("", sys), "");
}

TEST(PathRules, TheProgramFolderHasNoTrailingBackslash) {
    EXPECT_EQ(folderOf("C:\\WINDOWS\\quillmere.exe"), "C:\\WINDOWS");
    EXPECT_EQ(folderOf("C:\\quillmere.exe"), "C:");  // so "C:" + "\\system32\\..." still works
    EXPECT_EQ(folderOf("\\\\srv\\share\\q\\quillmere.exe"), "\\\\srv\\share\\q");
    EXPECT_EQ(folderOf("C:\\tools\\\\quillmere.exe"), "C:\\tools");
    EXPECT_EQ(folderOf("quillmere.exe"), "");
    EXPECT_EQ(withoutTrailingSlash("C:\\WINDOWS\\system32\\"), "C:\\WINDOWS\\system32");
}

TEST(PathRules, ATypedPathStartsOnlyAsExactlyThatFile) {
    EXPECT_TRUE(startablePath("C:\\Program Files\\AC97 Mixer\\ac97mix.exe"));
    EXPECT_TRUE(startablePath("\\\\server\\tools\\ac97mix.exe"));
    // Names a search could resolve elsewhere.
    EXPECT_FALSE(startablePath("ac97mix.exe"));
    EXPECT_FALSE(startablePath("C:ac97mix.exe"));
    EXPECT_FALSE(startablePath("\\ac97mix.exe"));
    // A quote would end the quoted command line and start its arguments.
    EXPECT_FALSE(startablePath("C:\\x.exe\" /evil"));
    EXPECT_FALSE(startablePath("C:\\*.exe"));
    EXPECT_FALSE(startablePath("C:\\a?.exe"));
    EXPECT_FALSE(startablePath("C:\\a.exe | del"));
    // The raw and device namespaces are no files to start.
    EXPECT_FALSE(startablePath("\\\\?\\C:\\x.exe"));
    EXPECT_FALSE(startablePath("\\\\.\\PhysicalDrive0"));
    EXPECT_FALSE(startablePath("//./pipe/x"));
    EXPECT_FALSE(startablePath(""));

    EXPECT_EQ(quotedCommandLine("C:\\Program Files\\m.exe"), "\"C:\\Program Files\\m.exe\"");
}
