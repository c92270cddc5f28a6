#include <gtest/gtest.h>

#include "info/frmAbout.h"
#include "info/frmAboutA3D.h"
#include "info/frmDrvVer.h"
#include "support/TestEnv.h"

namespace {
const std::string kNone = "You don't appear to have any drivers installed correctly";
const std::string kOriginal =
    "You appear to be running the original Microsoft provided Aureal drivers.  These are the recommended drivers "
    "for Windows XP.  This driver supports full hardware acceleration for DirectSound, DirectSound 3D, A3D and "
    "MIDI.  S/PDIF output is also supported.";
const std::string kUpdatePrefix =
    "You appear to be running the Microsoft provided Aureal drivers from Windows Update.  These drivers should not "
    "be used since they remove all hardware acceleration for the sound card.  Try to roll back the driver, or get "
    "further instructions from ";
const std::string kTail =
    " drivers.  While these do work in Windows XP, they were designed for Windows 2000 and hence haven't been fully "
    "tested.  It is recommended that you use the in-box Windows XP driver.";
const std::string kLive =
    "You seem to have the SoundBlaster Live! A3D drivers.  These work by converting A3D into DirectSound 3D.  It is "
    "recommended that you use the Aureal A3D driver included with Windows XP for the best compatibility";
const std::string kA3DOk = "Your A3D driver seems OK.";

bool namesNoAddress(const std::string& t) {
    for (const char* bad : {"www", "http", ".com", ".org", ".net", "@"})
        if (t.find(bad) != std::string::npos) return false;
    return true;
}

struct InfoTest : ::testing::Test {
    qmtest::TestEnv env;
    ui::Form main{"frmMain", env.ui()};
    void SetUp() override { main.show(); }
    frmDrvVer& open(const std::string& ver, const std::string& size, const std::string& a3d) {
        return static_cast<frmDrvVer&>(
            main.openDialog(std::make_unique<frmDrvVer>(env.services(), env.ui(), DriverInfoTexts{ver, size, a3d})));
    }
};
}  // namespace

TEST_F(InfoTest, DriverVerdictForEveryKnownBuildAndNoneForOthers) {
    struct Row { const char* ver; const char* size; std::string verdict; };
    const Row rows[] = {
        {"NA", "", kNone},
        {"N/A", "747392", kNone},
        {"5.12.1.2560", "747392", kOriginal},
        {"5.12.1.2559", "", "You appear to be running the Aureal Beta" + kTail},
        {"5.10.2500.49", "1", "You appear to be running the Aureal Public Beta" + kTail},
        {"5.0.2169.1", "747392", "You appear to be running the Windows 2000 in-box" + kTail},
        {"5.12.1.2560", "702081", ""},
        {"5.12.1.2560", "", ""},
        {"5.12.1.2560", " 747392", ""},
        {"5.12.1.2561", "747392", ""},
        {"n/a", "", ""},
        {"5.12.1.2560 ", "747392", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.ver) + " / " + r.size);
        frmDrvVer& d = open(r.ver, r.size, "N/A");
        EXPECT_EQ(d.lblDrvVer.caption(), r.verdict);
        EXPECT_EQ(d.lblA3D.caption(), kA3DOk);
        d.cmdOK.click();
    }
    EXPECT_TRUE(main.visible());
    EXPECT_TRUE(main.enabled());
}

TEST_F(InfoTest, WindowsUpdateBuildIsToldApartBySizeAndPointsToASupportSite) {
    const std::string v = open("5.12.1.2560", "702080", "1.0.0.0").lblDrvVer.caption();
    ASSERT_EQ(v.compare(0, kUpdatePrefix.size(), kUpdatePrefix), 0) << v;
    EXPECT_GT(v.size(), kUpdatePrefix.size() + 1);
    EXPECT_EQ(v.back(), '.');
    EXPECT_TRUE(namesNoAddress(v));
}

TEST_F(InfoTest, A3DVerdictAndTheDialogReadsNothingItself) {
    EXPECT_EQ(open("5.0.2169.1", "", "80.0.0.3").lblA3D.caption(), kLive);
    main.openChild()->closeBox();
    EXPECT_TRUE(main.visible());
    EXPECT_TRUE(main.enabled());
    EXPECT_EQ(open("x", "", "80.0.0.30").lblA3D.caption(), kA3DOk);
    EXPECT_EQ(open("x", "", "NA").lblA3D.caption(), kA3DOk);
    EXPECT_EQ(env.mem.operationCount(), 0u);
    EXPECT_TRUE(env.fileVersions.asked.empty());
    EXPECT_TRUE(env.files.asked.empty());
    EXPECT_TRUE(env.msg.shown.empty());
}

TEST_F(InfoTest, AboutLeavesTheMainWindowVisibleButUnusable) {
    auto& about = static_cast<frmAbout&>(main.openDialog(std::make_unique<frmAbout>(env.services(), env.ui()), true));
    EXPECT_EQ(about.caption(), "About Quillmere");
    EXPECT_EQ(about.Label2.caption(), "Quillmere");
    EXPECT_EQ(about.Label4.caption(), "Version 2.20 Beta 2");
    for (auto* l : {&about.Label1, &about.Label5, &about.Label6, &about.Label7}) {
        EXPECT_FALSE(l->caption().empty());
        EXPECT_TRUE(namesNoAddress(l->caption())) << l->caption();
    }
    EXPECT_TRUE(main.visible());
    EXPECT_FALSE(main.enabled());
    about.cmdOK.click();
    EXPECT_TRUE(main.enabled());
    main.openDialog(std::make_unique<frmAbout>(env.services(), env.ui()), true).closeBox();
    EXPECT_TRUE(main.enabled());
    EXPECT_EQ(main.openChild(), nullptr);
}

TEST_F(InfoTest, AboutA3DTextsAndHandOver) {
    auto& a = static_cast<frmAboutA3D&>(main.openDialog(std::make_unique<frmAboutA3D>(env.services(), env.ui())));
    EXPECT_FALSE(main.visible());
    EXPECT_EQ(a.Label4.caption(), "A3D Audio By Aureal.Inc");
    const std::string start1 = "Aureal 3D (A3D) creates sounds the way they come at use in real life: from";
    EXPECT_EQ(a.Label1.caption().compare(0, start1.size(), start1), 0);
    const std::string end1 = "using only a single pair of ordinary speakers or headphones.";
    EXPECT_EQ(a.Label1.caption().substr(a.Label1.caption().size() - end1.size()), end1);
    EXPECT_NE(a.Label2.caption().find("over a decade if psycho-acoustic research.  Besides"), std::string::npos);
    const std::string lead5 = "For an up-to-date list of A3D supported software titles please visit ";
    const std::string lead3 = "Interactive applications such as PC games, 3D Internet sites and computer simulations "
                              "can be designed to take advantage of A3D.";
    EXPECT_EQ(a.Label5.caption().compare(0, lead5.size(), lead5), 0);
    EXPECT_EQ(a.Label3.caption().compare(0, lead3.size(), lead3), 0);
    const std::string end3 = "for an up-to-date list of A3D supported titles.";
    EXPECT_EQ(a.Label3.caption().substr(a.Label3.caption().size() - end3.size()), end3);
    EXPECT_TRUE(namesNoAddress(a.Label5.caption() + a.Label3.caption()));
    a.cmdOK.click();
    EXPECT_TRUE(main.visible());
    EXPECT_TRUE(main.enabled());
    EXPECT_EQ(env.mem.operationCount(), 0u);
}
