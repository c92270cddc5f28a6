// The file helpers the driver-information tests put their fixtures with.
#include <windows.h>

#include <gtest/gtest.h>

#include "Driver.h"

using namespace e2e;

TEST(DriverFiles, CopyMakesTheFoldersAndRemoveToleratesMissingFiles) {
    const std::string dir = windowsDir() + "\\QuillmereDriverTest\\a\\b";
    const std::string to = dir + "\\copy.dll";
    copyFile(systemDir() + "\\version.dll", to);
    EXPECT_NO_THROW(copyFile(systemDir() + "\\version.dll", to));  // replaces
    removeFile(to);
    EXPECT_NO_THROW(removeFile(to));
    EXPECT_THROW(copyFile(systemDir() + "\\no-such-file.dll", to), Failure);
    RemoveDirectoryA(dir.c_str());
    RemoveDirectoryA((windowsDir() + "\\QuillmereDriverTest\\a").c_str());
    RemoveDirectoryA((windowsDir() + "\\QuillmereDriverTest").c_str());
}
