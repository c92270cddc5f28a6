#include "test_main_fixture.h"

namespace mainwin {
namespace {

struct MainHandlers : MainWindowTest {};

TEST_F(MainHandlers, EachCheckBoxWritesItsStateToItsValue) {
    frmMain& f = loadFresh();
    struct Row { ui::CheckBox& box; const Setting& s; };
    const Row rows[] = {
        {f.chkA3DSplash, SplashScreen()},   {f.chkPlayA3D, SplashAudio()},
        {f.chkAttenuation, ST9704ATTEN()},  {f.chkEnOut, EnableSpdifOut()},
        {f.chkEnIn, EnableSpdifIn()},       {f.chkLA2Inv, CorrectLA2()},
        {f.chkLA4Inv, ST9708LA4RearInversion()}, {f.chkMIDIfx, AspenWavetableEffect()},
        {f.chkST3D, DisableAC97Codec3DEffect()}, {f.chkHighPerfMIDI, HighPerformanceMIDI()},
    };
    for (const Row& r : rows) {
        const int flipped = r.box.value() == 1 ? 0 : 1;
        env.mem.clearLog();
        r.box.setValue(flipped);
        EXPECT_EQ(writes(), (Writes{std::string(r.s.name) + "=" + std::to_string(flipped)})) << r.box.name();
        EXPECT_EQ(dword(r.s), static_cast<std::uint32_t>(flipped));
        r.box.setValue(1 - flipped);
        EXPECT_EQ(dword(r.s), static_cast<std::uint32_t>(1 - flipped));
    }
}

TEST_F(MainHandlers, OutputDetectionGovernsEnableOutput) {
    frmMain& f = loadFresh();
    ASSERT_EQ(f.chkEnOut.value(), 1);
    f.chkDetOut.setValue(0);
    EXPECT_EQ(writes(), (Writes{"EnableSpdifOut=0", "DetectSpdifOut=0"}));
    EXPECT_EQ(f.chkEnOut.value(), 0);
    EXPECT_FALSE(f.chkEnOut.enabled());

    env.mem.clearLog();
    f.chkDetOut.setValue(1);
    EXPECT_EQ(writes(), (Writes{"DetectSpdifOut=1"}));
    EXPECT_TRUE(f.chkEnOut.enabled());
    EXPECT_EQ(f.chkEnOut.value(), 0);

    // Unticking with "Enable" already off writes only the detection.
    env.mem.clearLog();
    f.chkDetOut.setValue(2);
    EXPECT_EQ(writes(), (Writes{"DetectSpdifOut=2"}));
    EXPECT_FALSE(f.chkEnOut.enabled());
}

TEST_F(MainHandlers, InputDetectionGovernsEnableInput) {
    frmMain& f = loadFresh();
    ASSERT_FALSE(f.chkEnIn.enabled());
    f.chkDetIn.setValue(1);
    EXPECT_TRUE(f.chkEnIn.enabled());
    f.chkEnIn.setValue(1);
    env.mem.clearLog();
    f.chkDetIn.setValue(0);
    EXPECT_EQ(writes(), (Writes{"EnableSpdifIn=0", "DetectSpdifIn=0"}));
    EXPECT_EQ(f.chkEnIn.value(), 0);
    EXPECT_FALSE(f.chkEnIn.enabled());
    EXPECT_EQ(f.chkEnOut.value(), 1);  // the output pair is left alone
}

TEST_F(MainHandlers, TrayAutostartIsStoredAsTheBareNameAndRemoved) {
    frmMain& f = loadFresh();
    f.chkTray.setValue(1);
    EXPECT_EQ(writes(), (Writes{"AU30TRAY='au30tray.exe'"}));
    auto v = env.mem.get(key::Run, "AU30TRAY");
    ASSERT_TRUE(v);
    EXPECT_EQ(v->type, platform::ValueType::Text);
    EXPECT_EQ(v->data.size(), 12u);

    f.chkTray.setValue(0);
    EXPECT_FALSE(has(AU30TRAY()));
    EXPECT_EQ(writes().back(), "-AU30TRAY");
}

TEST_F(MainHandlers, A3DTypeShowsOnlyItsPictureThenWrites) {
    frmMain& f = loadFresh();
    ui::Picture* pictures[] = {&f.imgPhones, &f.imgSat, &f.imgMon, &f.imgQuad};
    for (int i : {3, 0, 1, 2}) {
        env.mem.clearLog();
        f.cboA3DType.setListIndex(i);
        EXPECT_EQ(writes(), (Writes{"PrimaryXtalk=" + std::to_string(i)}));
        for (int p = 0; p < 4; ++p) EXPECT_EQ(pictures[p]->visible(), p == i) << i << " " << p;
    }
    env.mem.clearLog();
    f.cboA3DType.setListIndex(-1);
    EXPECT_TRUE(writes().empty());
    EXPECT_TRUE(f.imgMon.visible());

    f.showA3DPicture(2);  // as the reset dialog does
    f.showA3DPicture(0);
    EXPECT_TRUE(f.imgPhones.visible());
    EXPECT_FALSE(f.imgMon.visible());
    EXPECT_TRUE(writes().empty());
}

TEST_F(MainHandlers, WavetableEntriesWriteFiveValuesInOrder) {
    frmMain& f = loadFresh();
    const Writes expected[] = {
        {"GamerMode=1", "SoftSynthVoices=256", "SoftSynthMode=3", "SoftSynthModeIndex=0", "SoftSynth=2"},
        {"GamerMode=0", "SoftSynthVoices=64", "SoftSynthMode=2", "SoftSynthModeIndex=1", "SoftSynth=2"},
        {"GamerMode=0", "SoftSynthVoices=0", "SoftSynthMode=0", "SoftSynthModeIndex=2", "SoftSynth=0"},
    };
    for (int i : {2, 1, 0}) {
        env.mem.clearLog();
        f.cboWavetableMode.setListIndex(i);
        EXPECT_EQ(writes(), expected[i]) << i;
    }
    env.mem.clearLog();
    f.cboWavetableMode.setListIndex(-1);
    EXPECT_TRUE(writes().empty());
}

TEST_F(MainHandlers, LevelBarsShowAndWriteTheirPosition) {
    frmMain& f = loadFresh();
    struct Row { ui::HScrollBar& bar; ui::Label& label; const Setting& s; std::int16_t (frmMain::*level)() const; };
    const Row rows[] = {{f.hsbFront, f.lblFront, AC97MixerFrontOutVol(), &frmMain::frontLevel},
                        {f.hsbRear, f.lblRear, AC97MixerRearOutVol(), &frmMain::rearLevel},
                        {f.hsbPCM1, f.lblPCM1, AC97PCMOutVol(), &frmMain::pcm1Level},
                        {f.hsbPCM2, f.lblPCM2, AC97PCM2OutVol(), &frmMain::pcm2Level}};
    for (const Row& r : rows) {
        for (int pos : {31, 0}) {
            env.mem.clearLog();
            r.bar.setValue(pos);
            EXPECT_EQ(r.label.caption(), std::to_string(pos));
            EXPECT_EQ((f.*r.level)(), pos);
            EXPECT_EQ(writes(), (Writes{std::string(r.s.name) + "=" + std::to_string(pos)}));
        }
        EXPECT_FALSE(r.bar.setValue(32));
        EXPECT_EQ(dword(r.s), 0u);
    }
}

TEST_F(MainHandlers, EffectSlidersShowAndWriteTheirPosition) {
    frmMain& f = loadFresh();
    f.hsbEffect1.setValue(127);
    f.hsbEffect2.setValue(0);
    EXPECT_EQ(f.lblEffect1.caption(), "127");
    EXPECT_EQ(f.lblEffect2.caption(), "0");
    EXPECT_EQ(writes(), (Writes{"ReverbAmount=127", "ChorusAmount=0"}));
}

TEST_F(MainHandlers, OutputRateWritesTheRateAndShowsIt) {
    frmMain& f = loadFresh();
    const char* rates[] = {"32000", "44100", "48000"};
    for (int i : {0, 2, 1}) {
        env.mem.clearLog();
        f.optDigOut.select(i);
        EXPECT_EQ(writes(), (Writes{std::string("SpdifFrequency=") + rates[i]}));
        EXPECT_EQ(f.lblDigOut.caption(), rates[i]);
        EXPECT_EQ(f.spdifRate(), rates[i]);
    }
}

TEST_F(MainHandlers, EnableSpdifSupportWritesTheFourCardsEveryTime) {
    frmMain& f = loadFresh();
    const Writes cards{"1=317390984", "2=317390850", "3=273514619", "4=278016001"};
    f.cmdFixDetect.click();
    EXPECT_EQ(writes(), cards);
    env.mem.clearLog();
    f.cmdFixDetect.click();
    EXPECT_EQ(writes(), cards);
    EXPECT_EQ(env.mem.getDword(key::SpdifEnableList, "1"), 0x12EB0088u);
    EXPECT_TRUE(env.msg.shown.empty());
}

TEST_F(MainHandlers, WritesIntoMissingKeysAreLostQuietly) {
    env.mem.denyAccess(key::SpdifEnableList);
    env.mem.denyAccess(key::Customization);
    frmMain& f = loadFresh();
    f.cmdFixDetect.click();
    f.hsbFront.setValue(12);
    EXPECT_TRUE(writes().empty());
    EXPECT_EQ(f.lblFront.caption(), "12");
    EXPECT_EQ(env.mem.openHandles(), 0u);
}

TEST_F(MainHandlers, EffectTypeListsWriteNothing) {
    frmMain& f = loadFresh();
    const auto before = env.mem.operationCount();
    for (int i = 0; i < f.cboEffect1.listCount(); ++i) f.cboEffect1.setListIndex(i);
    for (int i = 0; i < f.cmdEffect2.listCount(); ++i) f.cmdEffect2.setListIndex(i);
    EXPECT_EQ(env.mem.operationCount(), before);
    EXPECT_EQ(f.cboEffect1.item(5), "Chorus");
    EXPECT_EQ(f.cmdEffect2.item(5), "Cabinet");
}

TEST_F(MainHandlers, OkRemindsToRebootAndEnds) {
    frmMain& f = loadFresh();
    bool ended = false;
    f.Unloaded = [&] { ended = true; };
    f.cmdOK.click();
    ASSERT_EQ(env.msg.shown.size(), 1u);
    EXPECT_EQ(env.msg.shown[0].text, "Please reboot your computer so that the new settings can take effect");
    EXPECT_EQ(env.msg.shown[0].title, "Reboot Required");
    EXPECT_EQ(env.msg.shown[0].style, 64);
    EXPECT_TRUE(ended);
    EXPECT_TRUE(writes().empty());
}

TEST_F(MainHandlers, ClosingFromTheFrameEndsWithoutTheReminder) {
    frmMain& f = loadFresh();
    f.closeBox();
    EXPECT_FALSE(f.loaded());
    EXPECT_TRUE(env.msg.shown.empty());
}

}  // namespace
}  // namespace mainwin
