#include "test_main_fixture.h"

namespace mainwin {
namespace {

struct MainDriverInfo : MainWindowTest {
    static constexpr const char* kUnderProgram = "C:\\Program Files\\Quillmere\\system32\\drivers\\adm8830.sys";
    static constexpr const char* kDefault = "c:\\windows\\system32\\drivers\\adm8830.sys";
};

TEST_F(MainDriverInfo, VersionsOfTheLibrariesAndTheDriver) {
    frmMain& f = load();
    EXPECT_EQ(f.txtA3DVer.text(), "4.0.0.3083");
    EXPECT_EQ(f.txtA3DAPI.text(), "4.0.0.3084");
    EXPECT_EQ(f.txtDrvVer.text(), "5.12.1.2559");
    EXPECT_EQ(env.fileVersions.asked, (std::vector<std::string>{"a3d.dll", "a3dapi.dll", "drivers\\adm8830.sys"}));
}

TEST_F(MainDriverInfo, TheSecondDriverNameIsTriedOnlyWithoutAVersionOfTheFirst) {
    env.fileVersions.files.clear();
    env.fileVersions.files["drivers\\admaud30.sys"] = {0x0005000C, 0x00010A00};
    frmMain& f = load();
    EXPECT_EQ(f.txtA3DVer.text(), "N/A");
    EXPECT_EQ(f.txtA3DAPI.text(), "N/A");
    EXPECT_EQ(f.txtDrvVer.text(), "5.12.1.2560");
    EXPECT_EQ(env.fileVersions.asked.back(), "drivers\\admaud30.sys");

    env.fileVersions.files.clear();
    frmMain& g = load();
    EXPECT_EQ(g.txtDrvVer.text(), "N/A");
}

TEST_F(MainDriverInfo, SizeOfTheDriverFileInTheSystemFolder) {
    frmMain& f = load();
    EXPECT_EQ(f.txtADMSize.text(), "747392");
    EXPECT_EQ(f.driverFileSize(), "747392");
    EXPECT_EQ(env.files.asked, (std::vector<std::string>{kDriverFile}));
}

TEST_F(MainDriverInfo, WithoutItTheProgramFolderAndForABadNameTheDefaultWindowsFolder) {
    env.files.lengths.clear();
    env.files.lengths[kUnderProgram] = 1000;
    frmMain& f = load();
    EXPECT_EQ(f.txtADMSize.text(), "1000");
    EXPECT_EQ(env.files.asked, (std::vector<std::string>{kDriverFile, kUnderProgram}));

    env.files.lengths.clear();
    env.files.asked.clear();
    env.files.badNames = {kUnderProgram};
    env.files.lengths[kDefault] = 2000;
    frmMain& g = load();
    EXPECT_EQ(g.txtADMSize.text(), "2000");
    EXPECT_EQ(env.files.asked, (std::vector<std::string>{kDriverFile, kUnderProgram, kDefault}));
}

TEST_F(MainDriverInfo, AFileFoundNowhereLeavesTheSizeEmptyWithoutAWord) {
    env.files.lengths.clear();
    env.files.lengths[kDefault] = 2000;  // not looked at: the name below the program folder was fine
    frmMain& f = load();
    EXPECT_EQ(f.txtADMSize.text(), "");
    EXPECT_EQ(f.driverFileSize(), "");
    EXPECT_EQ(env.files.asked, (std::vector<std::string>{kDriverFile, kUnderProgram}));
    EXPECT_TRUE(env.msg.shown.empty());
    EXPECT_TRUE(f.cmdReset.enabled());
}

}  // namespace
}  // namespace mainwin
