// What fuzzing the backup file's reader found, kept as plain cases.
#include <gtest/gtest.h>

#include <string>

#include "backup/Backup.h"

namespace {

using Refusal = backup::RestorePlan::Refusal;

const std::string kControlPanel = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\wdm_au8830\\ControlPanel";

// A NUL inside a key or a name made the comparison with the catalogue stop
// at it, so a key that only began with the program's key was taken for it.
TEST(FuzzFoundBackup, AKeyOrNameWithANulInsideIsNotTheCatalogues) {
    const std::string nulKey = "REGEDIT4\r\n\r\n[" + kControlPanel + std::string("\0x", 2) +
                               "]\r\n\"PrimaryXtalk\"=dword:00000002\r\n";
    const std::string nulName = "REGEDIT4\r\n\r\n[" + kControlPanel + "]\r\n\"PrimaryXtalk" + std::string("\0x", 2) +
                                "\"=dword:00000002\r\n";
    for (const std::string& file : {nulKey, nulName}) {
        const backup::RestorePlan plan = backup::planRestore(file);
        EXPECT_EQ(plan.refusal, Refusal::NothingToRestore);
        EXPECT_TRUE(plan.values.empty());
        EXPECT_EQ(plan.skipped, 1u);
    }
    // The same file without the NUL restores the value.
    const backup::RestorePlan plain =
        backup::planRestore("REGEDIT4\r\n\r\n[" + kControlPanel + "]\r\n\"PrimaryXtalk\"=dword:00000002\r\n");
    ASSERT_EQ(plain.values.size(), 1u);
    EXPECT_EQ(plain.refusal, Refusal::None);
}

}  // namespace
