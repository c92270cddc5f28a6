// The installed driver's and A3D libraries' versions and the driver file's
// size on the main window, read from real files with version resources;
// and "Override", which completes the loading on a system that does not
// report itself as Windows XP.
#include <cstdint>
#include <string>
#include <vector>

#include "AppTest.h"

using namespace e2e;

namespace {

constexpr int kTabMidi = 1, kTabA3D = 2, kTabAC97 = 3, kTabDigital = 4;

const char* const kOverrideWarning =
    "Forcing Windows XP detection is risky and can damage your Windows installation if it isn't Windows XP.";

}  // namespace

class DriverInfo : public AppTest {
protected:
    void TearDown() override {
        AppTest::TearDown();
        if (!copiedExe_.empty()) removeFile(copiedExe_);
    }

    // Puts a fixture file where the driver's setup would: the system folder
    // ("a3d.dll") or below it ("drivers\\adm8830.sys").
    void install(const std::string& fixtureFile, const std::string& systemFile) {
        copyFile(fixture(fixtureFile), systemDir() + "\\" + systemFile);
    }
    void installA3D() {
        install("a3d\\a3d.dll", "a3d.dll");
        install("a3d\\a3dapi.dll", "a3dapi.dll");
    }

    Window startOnA3DTab() {
        Window main = startMain();
        main.control("SSTab1").choose(kTabA3D);
        return main;
    }

    // Starts a copy of the program that lies in the Windows folder itself.
    Window startFromWindowsFolder() {
        copiedExe_ = windowsDir() + "\\quillmere.exe";
        std::string exe = App::defaultExe();
        copyFile(exe, copiedExe_);
        app.start(copiedExe_);
        return app.form("frmMain");
    }

    void endProgram() { app.kill(); }

    std::string copiedExe_;
};

TEST_F(DriverInfo, VersionBoxesShowTheInstalledFiles) {
    installDriver();
    installA3D();
    install("drv-2500\\adm8830.sys", "drivers\\adm8830.sys");
    // The second driver name is only a fallback: its other version must not show.
    install("drv-second\\admaud30.sys", "drivers\\admaud30.sys");
    Window main = startOnA3DTab();
    EXPECT_EQ(main.control("txtA3DVer").text(), "80.0.0.3");
    EXPECT_EQ(main.control("txtA3DAPI").text(), "3.0.0.11");
    EXPECT_EQ(main.control("txtDrvVer").text(), "5.10.2500.49");
    for (const char* box : {"txtDrvVer", "txtA3DVer", "txtA3DAPI"}) EXPECT_TRUE(main.control(box).visible()) << box;
}

TEST_F(DriverInfo, SecondDriverNameIsTriedWhenTheFirstHasNoVersion) {
    installDriver();
    install("drv-noversion\\adm8830.sys", "drivers\\adm8830.sys");
    {
        // Nothing with a version anywhere: every box says so.
        Window main = startOnA3DTab();
        EXPECT_EQ(main.control("txtDrvVer").text(), "N/A");
        EXPECT_EQ(main.control("txtA3DVer").text(), "N/A");
        EXPECT_EQ(main.control("txtA3DAPI").text(), "N/A");
    }
    endProgram();
    install("drv-second\\admaud30.sys", "drivers\\admaud30.sys");
    Window main = startOnA3DTab();
    EXPECT_EQ(main.control("txtDrvVer").text(), "5.12.1.2559");
}

// A damaged resource that claims 1 GB: the program cannot make room for
// it, throws and catches its own exception on the way (the unwinder built
// into the exe), and takes the file as one without a version. A 32-bit
// process's limit: the 64-bit stand-in could hold it.
#ifndef _WIN64
TEST_F(DriverInfo, AVersionResourceTooLargeToHoldCountsAsNone) {
    installDriver();
    install("drv-damaged\\adm8830.sys", "drivers\\adm8830.sys");
    install("drv-second\\admaud30.sys", "drivers\\admaud30.sys");
    Window main = startOnA3DTab();
    EXPECT_EQ(main.control("txtDrvVer").text(), "5.12.1.2559");
}
#endif

TEST_F(DriverInfo, SizeBoxHoldsTheDriverFilesLength) {
    installDriver();
    install("drv-2560-702080\\adm8830.sys", "drivers\\adm8830.sys");
    {
        Window main = startOnA3DTab();
        Control size = main.control("txtADMSize");
        EXPECT_FALSE(size.visible());
        EXPECT_EQ(size.text(), "702080");
        EXPECT_EQ(main.control("txtDrvVer").text(), "5.12.1.2560");
    }
    endProgram();
    // The size's own path: the program's folder followed by
    // "\system32\drivers\adm8830.sys", which is right from the Windows folder.
    install("drv-2560-747392\\adm8830.sys", "drivers\\adm8830.sys");
    Window main = startFromWindowsFolder();
    EXPECT_EQ(main.control("txtADMSize").text(), "747392");
    EXPECT_EQ(main.control("txtDrvVer").text(), "5.12.1.2560");
}

TEST_F(DriverInfo, WithoutADriverFileTheSizeBoxStaysEmpty) {
    installDriver();
    Window main = startOnA3DTab();
    EXPECT_EQ(main.control("txtADMSize").text(), "");
    EXPECT_EQ(main.control("txtDrvVer").text(), "N/A");
    EXPECT_TRUE(main.control("cmdReset").usable());
}

class Override : public DriverInfo {
protected:
    // A driver whose every shown value differs from the control's start
    // state, so that each shows it was read.
    void installDistinctDriver() {
        installDriver();
        reg::set(settings::AC97PCMOutVol(), 3);
        reg::set(settings::AC97PCM2OutVol(), 12);
        reg::set(settings::AC97MixerFrontOutVol(), 20);
        reg::set(settings::AC97MixerRearOutVol(), 31);
        reg::set(settings::ReverbAmount(), 100);
        reg::set(settings::ChorusAmount(), 27);
        reg::set(settings::SpdifFrequency(), 44100);
        reg::set(settings::DisableAC97Codec3DEffect(), 0);
        reg::set(settings::ST9704ATTEN(), 1);
        reg::set(settings::CorrectLA2(), 0);
        reg::set(settings::DetectSpdifOut(), 0);
        reg::set(settings::EnableSpdifOut(), 1);
        reg::set(settings::DetectSpdifIn(), 1);
        reg::set(settings::EnableSpdifIn(), 1);
        // "64 Voices" with its own companions, so choosing it rewrites nothing.
        reg::set(settings::SoftSynthModeIndex(), 2);
        reg::set(settings::GamerMode(), 0);
        reg::set(settings::SoftSynthVoices(), 0);
        reg::set(settings::SoftSynthMode(), 0);
        reg::set(settings::SoftSynth(), 0);
        reg::set(settings::PrimaryXtalk(), 3);
        reg::set(settings::HighPerformanceMIDI(), 1);
        reg::createKey(settings::key::A3D);
        reg::set(settings::SplashAudio(), 1);
        reg::set(settings::SplashScreen(), 0);
        reg::setText(settings::AU30TRAY(), "C:\\Program Files\\Aureal\\AU30TRAY.EXE");
    }

    // Starts on a system reported as Windows 2000, past the refusal, and
    // presses "Override" through its warning.
    Window startAndOverride() {
        setReportedWindows("win2k");
        app.start();
        MsgBox refusal = app.messageBox(scaled(kStartTimeout));
        EXPECT_EQ(refusal.title(), "Incorrect Operating System");
        refusal.answer(IDOK_);
        Window main = app.form("frmMain");
        EXPECT_FALSE(main.control("SSTab1").enabled());
        EXPECT_EQ(main.control("txtDrvVer").text(), "NA");

        Control overrideButton = main.control("cmdOverride");
        overrideButton.clickAsync();
        MsgBox warning = app.messageBox();
        EXPECT_EQ(warning.text(), kOverrideWarning);
        EXPECT_EQ(warning.title(), "Information");
        EXPECT_EQ(warning.icon(), Icon::Information);
        EXPECT_EQ(warning.buttons(), std::vector<int>{IDOK_});
        warning.answer(IDOK_);
        // The handler goes on loading after the box.
        waitUntilIdle(main);
        EXPECT_FALSE(overrideButton.visible());
        return main;
    }
};

TEST_F(Override, OnWindows2000LoadsEverySettingButLeavesTheTrayBoxUnticked) {
    installDistinctDriver();
    installA3D();
    install("drv-2560-747392\\adm8830.sys", "drivers\\adm8830.sys");
    const reg::Snapshot stored = snapshotProgramKeys();

    Window main = startAndOverride();
    EXPECT_FALSE(app.findMessageBox().has_value());
    Control tabs = main.control("SSTab1");
    EXPECT_TRUE(tabs.enabled());
    for (const char* on : {"cmdWPCRSET", "chkA3DSplash", "chkPlayA3D", "chkTray", "cmdReset"})
        EXPECT_TRUE(main.control(on).usable()) << on;
    EXPECT_EQ(main.control("chkPlayA3D").checked(), 1);
    EXPECT_EQ(main.control("chkA3DSplash").checked(), 0);
    // The tray value is not read: the box stays unticked and the stored
    // command is neither rewritten nor removed.
    EXPECT_EQ(main.control("chkTray").checked(), 0);

    tabs.choose(kTabMidi);
    EXPECT_EQ(main.control("hsbEffect1").position(), 100);
    EXPECT_EQ(main.control("lblEffect1").text(), "100");
    EXPECT_EQ(main.control("hsbEffect2").position(), 27);
    EXPECT_EQ(main.control("lblEffect2").text(), "27");
    EXPECT_EQ(main.control("chkMIDIfx").checked(), 1);
    EXPECT_EQ(main.control("chkHighPerfMIDI").checked(), 1);
    EXPECT_EQ(main.control("cboWavetableMode").selectedText(), "64 Voices");

    tabs.choose(kTabA3D);
    EXPECT_EQ(main.control("cboA3DType").selectedText(), "Quad Speakers");
    EXPECT_TRUE(main.control("imgQuad").visible());
    for (const char* hidden : {"imgPhones", "imgSat", "imgMon"}) EXPECT_FALSE(main.control(hidden).visible()) << hidden;
    EXPECT_EQ(main.control("txtDrvVer").text(), "5.12.1.2560");
    EXPECT_EQ(main.control("txtA3DVer").text(), "80.0.0.3");
    EXPECT_EQ(main.control("txtA3DAPI").text(), "3.0.0.11");
    EXPECT_EQ(main.control("txtADMSize").text(), "747392");

    tabs.choose(kTabAC97);
    const struct {
        const char* bar;
        const char* label;
        int level;
    } levels[] = {{"hsbPCM1", "lblPCM1", 3}, {"hsbPCM2", "lblPCM2", 12}, {"hsbFront", "lblFront", 20},
                  {"hsbRear", "lblRear", 31}};
    for (const auto& l : levels) {
        EXPECT_EQ(main.control(l.bar).position(), l.level) << l.bar;
        EXPECT_EQ(main.control(l.label).text(), std::to_string(l.level)) << l.label;
    }
    EXPECT_EQ(main.control("chkST3D").checked(), 0);
    EXPECT_EQ(main.control("chkAttenuation").checked(), 1);
    EXPECT_EQ(main.control("chkLA2Inv").checked(), 0);
    EXPECT_EQ(main.control("chkLA4Inv").checked(), 1);

    tabs.choose(kTabDigital);
    EXPECT_EQ(main.control("lblDigOut").text(), "44100");
    EXPECT_EQ(main.control("chkDetOut").checked(), 0);
    Control enOut = main.control("chkEnOut");
    EXPECT_EQ(enOut.checked(), 1);
    EXPECT_FALSE(enOut.enabled()) << "with the driver file found, an undetected output stays locked";
    EXPECT_EQ(main.control("chkDetIn").checked(), 1);
    EXPECT_EQ(main.control("chkEnIn").checked(), 1);
    EXPECT_TRUE(main.control("chkEnIn").usable());

    // Every value was written back as it was read, and nothing else.
    EXPECT_EQ(reg::diff(stored, snapshotProgramKeys()), "");

    // The tray box works from now on like any other.
    tabs.choose(0);
    main.control("chkTray").click();
    EXPECT_EQ(reg::text(settings::AU30TRAY()), "au30tray.exe");
}

TEST_F(Override, WithoutTheDriverFileTheClosingStepsAreSkipped) {
    installDriver();
    reg::set(settings::DetectSpdifOut(), 0);
    reg::set(settings::EnableSpdifOut(), 0);
    Window main = startAndOverride();
    EXPECT_EQ(main.control("txtADMSize").text(), "");
    // "Reset" is enabled since the refusal.
    EXPECT_TRUE(main.control("cmdReset").usable());
    main.control("SSTab1").choose(kTabDigital);
    EXPECT_EQ(main.control("chkDetOut").checked(), 0);
    EXPECT_TRUE(main.control("chkEnOut").usable());
    // Missing values are created as on Windows XP.
    EXPECT_EQ(reg::dword(settings::HighPerformanceMIDI()), 0u);
    EXPECT_EQ(reg::dword(settings::SplashAudio()), 0u);
    EXPECT_EQ(reg::dword(settings::SplashScreen()), 0u);
}
