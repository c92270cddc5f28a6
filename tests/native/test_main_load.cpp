#include <algorithm>
#include <cctype>

#include "test_main_fixture.h"

namespace mainwin {
namespace {

struct MainLoad : MainWindowTest {};
struct MainLoadBare : MainWindowTest {
    void SetUp() override {}
};

TEST_F(MainLoad, EveryStoredValueLandsInItsControl) {
    set(AC97PCMOutVol(), 3);
    set(AC97PCM2OutVol(), 31);
    set(AC97MixerFrontOutVol(), 8);
    set(AC97MixerRearOutVol(), 0);
    set(ReverbAmount(), 100);
    set(ChorusAmount(), 7);
    set(SpdifFrequency(), 44100);
    set(AspenWavetableEffect(), 0);
    set(ST9704ATTEN(), 1);
    set(CorrectLA2(), 0);
    set(DetectSpdifIn(), 1);
    set(EnableSpdifIn(), 1);
    set(HighPerformanceMIDI(), 1);
    set(PrimaryXtalk(), 1);
    set(SoftSynthModeIndex(), 2);
    frmMain& f = load();

    EXPECT_TRUE(env.msg.shown.empty());
    EXPECT_EQ(f.txtOSName.text(), "Windows XP");
    EXPECT_EQ(f.hsbPCM1.value(), 3);
    EXPECT_EQ(f.hsbPCM2.value(), 31);
    EXPECT_EQ(f.hsbFront.value(), 8);
    EXPECT_EQ(f.hsbRear.value(), 0);
    EXPECT_EQ(f.lblPCM1.caption(), "3");
    EXPECT_EQ(f.lblPCM2.caption(), "31");
    EXPECT_EQ(f.lblFront.caption(), "8");
    EXPECT_EQ(f.lblRear.caption(), "0");
    EXPECT_EQ(f.hsbEffect1.value(), 100);
    EXPECT_EQ(f.lblEffect1.caption(), "100");
    EXPECT_EQ(f.hsbEffect2.value(), 7);
    EXPECT_EQ(f.lblEffect2.caption(), "7");
    EXPECT_EQ(f.lblDigOut.caption(), "44100");
    EXPECT_EQ(f.optDigOut.selected(), -1);
    EXPECT_EQ(f.chkMIDIfx.value(), 0);
    EXPECT_EQ(f.chkST3D.value(), 1);
    EXPECT_EQ(f.chkAttenuation.value(), 1);
    EXPECT_EQ(f.chkLA2Inv.value(), 0);
    EXPECT_EQ(f.chkLA4Inv.value(), 1);
    EXPECT_EQ(f.chkPlayA3D.value(), 1);
    EXPECT_EQ(f.chkA3DSplash.value(), 1);
    EXPECT_EQ(f.chkDetOut.value(), 1);
    EXPECT_EQ(f.chkEnOut.value(), 1);
    EXPECT_TRUE(f.chkEnOut.enabled());
    EXPECT_EQ(f.chkDetIn.value(), 1);
    EXPECT_EQ(f.chkEnIn.value(), 1);
    EXPECT_TRUE(f.chkEnIn.enabled());
    EXPECT_EQ(f.chkHighPerfMIDI.value(), 1);
    EXPECT_EQ(f.cboWavetableMode.text(), "64 Voices");
    EXPECT_EQ(f.cboA3DType.text(), "Satellite Speakers");
    EXPECT_TRUE(f.imgSat.visible());
    EXPECT_FALSE(f.imgPhones.visible() || f.imgMon.visible() || f.imgQuad.visible());
    EXPECT_EQ(f.chkTray.value(), 0);
    EXPECT_EQ(f.mediaPlayerCommand(), "wmplayer.exe /Play");
    EXPECT_FALSE(f.cmdOverride.visible());
    EXPECT_TRUE(f.cmdReset.enabled());
    EXPECT_TRUE(f.SSTab1.enabled());
    EXPECT_EQ(f.SSTab1.currentTab(), 0);

    ASSERT_EQ(f.ListView1.items().size(), 7u);
    const char* names[] = {"Volume Control", "Sound Recorder",   "Media Player",       "AC97 Mixer",
                           "Multimedia",     "Game Controllers", "DirectX Diagnostics"};
    const int icons[] = {ui::ICON_VOLUME,     ui::ICON_RECORDER, ui::ICON_MEDIA, ui::ICON_MIXER,
                         ui::ICON_MULTIMEDIA, ui::ICON_GAME,     ui::ICON_DXDIAG};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(f.ListView1.items()[i].text, names[i]);
        EXPECT_EQ(f.ListView1.imageList.at(f.ListView1.items()[i].image), icons[i]) << names[i];
    }
}

TEST_F(MainLoad, EndsWithStoredValuesUnchangedButTheTwoRewrites) {
    // Companions that disagree with the stored entry, and a tray command with a path.
    set(SoftSynthModeIndex(), 1);
    set(GamerMode(), 1);
    set(SoftSynthVoices(), 256);
    set(SoftSynthMode(), 3);
    set(SoftSynth(), 2);
    setText(AU30TRAY(), "C:\\Program Files\\Aureal\\au30tray.exe");
    auto before = env.mem.snapshot();
    frmMain& f = load();

    auto after = env.mem.snapshot();
    for (auto* s : {&GamerMode(), &SoftSynthVoices(), &SoftSynthMode(), &AU30TRAY()}) {
        std::string k = std::string(s->key) + "|" + s->name;
        for (auto& c : k) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        ASSERT_TRUE(before.count(k) && after.count(k)) << k;
        before.erase(k);
        after.erase(k);
    }
    EXPECT_EQ(before, after);
    EXPECT_EQ(dword(GamerMode()), 0u);
    EXPECT_EQ(dword(SoftSynthVoices()), 64u);
    EXPECT_EQ(dword(SoftSynthMode()), 2u);
    EXPECT_EQ(dword(SoftSynth()), 2u);
    EXPECT_EQ(env.mem.getString(key::Run, "AU30TRAY"), "au30tray.exe");
    EXPECT_EQ(f.chkTray.value(), 1);

    // The five companions go out together, in their order.
    Writes all = writes();
    auto at = std::find(all.begin(), all.end(), "GamerMode=0");
    ASSERT_NE(at, all.end());
    EXPECT_EQ(Writes(at, at + 5),
              (Writes{"GamerMode=0", "SoftSynthVoices=64", "SoftSynthMode=2", "SoftSynthModeIndex=1", "SoftSynth=2"}));
}

TEST_F(MainLoadBare, MissingSettingsReadAsNothingAndOnlyTheThreeAreCreated) {
    env.mem.addKey(key::ControlPanel);
    env.mem.addKey(key::Customization);
    env.mem.addKey(key::Run);
    frmMain& f = load();

    EXPECT_EQ(writes(), (Writes{"HighPerformanceMIDI=0", "+Software\\Aureal", "+Software\\Aureal\\A3D",
                                "SplashAudio=0", "SplashScreen=0"}));
    EXPECT_TRUE(env.mem.hasKey(key::A3D));
    EXPECT_EQ(f.chkPlayA3D.value(), 0);
    EXPECT_EQ(f.chkA3DSplash.value(), 0);
    EXPECT_EQ(f.chkHighPerfMIDI.value(), 0);
    for (auto* l : {&f.lblPCM1, &f.lblPCM2, &f.lblFront, &f.lblRear}) EXPECT_EQ(l->caption(), "0");
    EXPECT_EQ(f.lblDigOut.caption(), "");
    EXPECT_EQ(f.lblEffect1.caption(), "0");
    EXPECT_EQ(f.cboWavetableMode.listIndex(), -1);
    EXPECT_EQ(f.cboA3DType.listIndex(), -1);
    EXPECT_TRUE(f.imgPhones.visible() && f.imgSat.visible() && f.imgMon.visible() && f.imgQuad.visible());
    EXPECT_EQ(f.chkTray.value(), 0);
    EXPECT_EQ(f.mediaPlayerCommand(), "");
    // A missing detection reads as 0, like the box that shows it.
    EXPECT_FALSE(f.chkEnOut.enabled());
    EXPECT_FALSE(f.chkEnIn.enabled());
}

TEST_F(MainLoadBare, WithoutTheControlPanelKeyHighPerformanceMidiStaysMissing) {
    env.mem.addKey(key::A3D);
    load();
    EXPECT_FALSE(env.mem.hasKey(key::ControlPanel));
    EXPECT_EQ(writes(), (Writes{"SplashAudio=0", "SplashScreen=0"}));
}

TEST_F(MainLoad, SplashBoxesAreTickedOnlyByAStoredOne) {
    set(SplashAudio(), 0);
    set(SplashScreen(), 1);
    frmMain& f = load();
    EXPECT_EQ(f.chkPlayA3D.value(), 0);
    EXPECT_EQ(f.chkA3DSplash.value(), 1);
    EXPECT_EQ(dword(SplashAudio()), 0u);
}

TEST_F(MainLoad, UndetectedOutputKeepsItsEnableBoxTickedButDisabled) {
    set(DetectSpdifOut(), 0);
    set(EnableSpdifOut(), 1);
    frmMain& f = load();
    EXPECT_EQ(f.chkEnOut.value(), 1);
    EXPECT_FALSE(f.chkEnOut.enabled());
    EXPECT_EQ(dword(EnableSpdifOut()), 1u);
    EXPECT_FALSE(f.chkEnIn.enabled());  // DetectSpdifIn 0 as installed
}

TEST_F(MainLoad, OtherWindowsVersionsWarnDisableAndTouchNoRegistryValue) {
    env.version.set2000();
    frmMain& f = load();

    ASSERT_EQ(env.msg.shown.size(), 1u);
    EXPECT_EQ(env.msg.shown[0].text,
              "You don't appear to be running Windows XP.  This control panel will only work with Windows XP.  "
              "Please use the Control Panel application included with the drivers for your operating system.  You "
              "may use the Override button if you're sure that you're running XP.");
    EXPECT_EQ(env.msg.shown[0].title, "Incorrect Operating System");
    EXPECT_EQ(env.msg.shown[0].style, 16);
    EXPECT_EQ(env.mem.operationCount(), 0u);
    EXPECT_TRUE(env.mem.log().empty());
    EXPECT_TRUE(env.files.asked.empty());
    EXPECT_TRUE(env.fileVersions.asked.empty());

    EXPECT_EQ(f.txtOSName.text(), "Windows 2000");
    for (ui::Control* c : std::vector<ui::Control*>{&f.SSTab1, &f.cmdWPCRSET, &f.chkA3DSplash, &f.chkPlayA3D, &f.chkTray})
        EXPECT_FALSE(c->enabled()) << c->name();
    EXPECT_TRUE(f.cmdOverride.enabled() && f.cmdOverride.visible());
    EXPECT_TRUE(f.cmdReset.enabled());
    EXPECT_TRUE(f.cmdOK.usable());
    EXPECT_FALSE(f.hsbFront.usable());
    EXPECT_EQ(f.txtDrvVer.text(), "NA");
    EXPECT_EQ(f.lblPCM1.caption(), "Label13");
    EXPECT_EQ(f.ListView1.items().size(), 7u);
}

TEST_F(MainLoad, AFailingVersionQueryCountsAsNotXP) {
    env.version.ok = false;
    frmMain& f = load();
    EXPECT_EQ(f.txtOSName.text(), "");
    ASSERT_EQ(env.msg.shown.size(), 1u);
    EXPECT_EQ(env.msg.shown[0].title, "Incorrect Operating System");
    EXPECT_EQ(env.mem.operationCount(), 0u);
}

TEST_F(MainLoad, BadStoredValuesLeaveControlsAsTheyWereAndTheRegistryUntouched) {
    set(AC97PCMOutVol(), 40);                                                     // past the bar
    env.mem.setRaw(key::Customization, "AC97PCM2OutVol", platform::ValueType::Binary, {8, 0, 0, 0});  // wrong type
    setText(AC97MixerFrontOutVol(), "loud");                                      // not a number
    set(AC97MixerRearOutVol(), 0xFFFFFFFF);                                       // -1
    set(ReverbAmount(), 128);
    setText(ChorusAmount(), "");
    set(DisableAC97Codec3DEffect(), 7);
    env.mem.setRaw(key::Customization, "ST9708LA4RearInversion", platform::ValueType::Text, {'1', 0});  // with terminator
    setText(ST9704ATTEN(), "yes");
    set(DetectSpdifOut(), 9);
    set(SoftSynthModeIndex(), 3);
    set(PrimaryXtalk(), 0x80000000);
    setText(SplashAudio(), "");  // stored, though empty: not replaced
    env.mem.setRaw(key::ControlPanel, "HighPerformanceMIDI", platform::ValueType::Binary, {1});
    const auto before = env.mem.snapshot();
    frmMain& f = load();

    EXPECT_EQ(env.mem.snapshot(), before);
    EXPECT_TRUE(env.msg.shown.empty());
    EXPECT_TRUE(f.loaded());
    EXPECT_EQ(f.hsbPCM1.value(), 0);
    EXPECT_EQ(f.lblPCM1.caption(), "40");  // the stored level, though the bar cannot show it
    EXPECT_EQ(f.hsbPCM2.value(), 0);
    EXPECT_EQ(f.hsbFront.value(), 0);
    EXPECT_EQ(f.lblFront.caption(), "0");
    EXPECT_EQ(f.hsbRear.value(), 0);
    EXPECT_EQ(f.hsbEffect1.value(), 0);
    EXPECT_EQ(f.lblEffect1.caption(), "0");
    EXPECT_EQ(f.chkST3D.value(), 0);
    EXPECT_EQ(f.chkLA4Inv.value(), 0);
    EXPECT_EQ(f.chkAttenuation.value(), 0);
    EXPECT_EQ(f.chkDetOut.value(), 0);
    EXPECT_TRUE(f.chkEnOut.enabled());  // 9 is not 0
    EXPECT_EQ(f.chkEnOut.value(), 1);
    EXPECT_EQ(f.cboWavetableMode.listIndex(), -1);
    EXPECT_EQ(f.cboA3DType.listIndex(), -1);
    EXPECT_EQ(f.chkPlayA3D.value(), 0);
    EXPECT_EQ(f.chkHighPerfMIDI.value(), 0);
}

TEST_F(MainLoad, GrayedStoredStateIsShownAndKeptAndDisablesItsEnableBox) {
    set(DetectSpdifOut(), 2);
    set(ST9704ATTEN(), 2);
    const auto before = env.mem.snapshot();
    frmMain& f = load();
    EXPECT_EQ(f.chkDetOut.value(), 2);
    EXPECT_EQ(f.chkAttenuation.value(), 2);
    EXPECT_FALSE(f.chkEnOut.enabled());
    EXPECT_EQ(f.chkEnOut.value(), 1);
    EXPECT_EQ(env.mem.snapshot(), before);
}

}  // namespace
}  // namespace mainwin
