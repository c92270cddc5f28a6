#include <gtest/gtest.h>

#include "backup/Backup.h"
#include "reset/ResetGroups.h"
#include "reset/frmReset.h"
#include "support/TestEnv.h"

using platform::RegLogEntry;

namespace {
const char* kCP = "SYSTEM\\CurrentControlSet\\Services\\wdm_au8830\\ControlPanel";
const char* kCust = "SYSTEM\\CurrentControlSet\\Services\\wdm_au8830\\Customization";
const std::string kText = "C:\\Mix\\mix.exe";

// Every write of "Reset All Settings", in order.
const std::vector<std::string> kResetAll = {
    "ControlPanel:PrimaryXtalk=2",
    "ControlPanel:GamerMode=1", "ControlPanel:SoftSynthVoices=256", "ControlPanel:SoftSynthMode=3",
    "ControlPanel:SoftSynthModeIndex=0", "ControlPanel:SoftSynth=2",
    "ControlPanel:ReverbAmount=64", "ControlPanel:ChorusAmount=64", "ControlPanel:AspenWavetableEffect=1",
    "Customization:SpdifFrequency=48000", "Customization:DetectSpdifOut=1", "Customization:EnableSpdifOut=1",
    "Customization:DetectSpdifIn=0", "Customization:EnableSpdifIn=0",
    "Customization:SupportAnalogEQ=0", "ControlPanel:AnalogEQSrcLine=3", "ControlPanel:AnalogEQEnableState=0",
    "Customization:DisableAC97Codec3DEffect=1", "Customization:ST9708LA4RearInversion=1",
    "Customization:CorrectLA2=1", "Customization:ST9704ATTEN=0", "Customization:AC97PCMOutVol=8",
    "Customization:AC97PCM2OutVol=8", "Customization:AC97MixerFrontOutVol=8",
    "Customization:AC97MixerRearOutVol=8", "ControlPanel:QuadCodecOutputModeState=0",
    "Customization:SetGPIO0InQuad=0",
    "-ControlPanel:AC97MixerLocation"};

struct Pictures : A3DPictureSink {
    std::vector<int> shown;
    void showOnlyPicture(int p) override { shown.push_back(p); }
};

struct ResetTest : ::testing::Test {
    qmtest::TestEnv env;
    Pictures pics;
    ui::Form main{"frmMain", env.ui()};
    frmReset* dlg = nullptr;

    void SetUp() override {
        // Every value the program knows, away from its reset default.
        for (const settings::Setting& s : settings::all()) {
            if (s.type == platform::ValueType::Dword) env.mem.setDword(s.key, s.name, 77);
            else env.mem.setString(s.key, s.name, kText);
        }
        main.show();
        dlg = static_cast<frmReset*>(&main.openDialog(std::make_unique<frmReset>(env.services(), env.ui(), pics)));
    }
    // "key-leaf:name=value" for each write, "-key-leaf:name" for each deletion.
    std::vector<std::string> writes() const {
        std::vector<std::string> out;
        for (const RegLogEntry& e : env.mem.log()) {
            std::string where = e.path.substr(e.path.rfind('\\') + 1) + ":" + e.name;
            if (e.op == RegLogEntry::Delete) out.push_back("-" + where);
            else if (e.op == RegLogEntry::Set && e.value.type == platform::ValueType::Dword && e.value.data.size() == 4)
                out.push_back(where + "=" + std::to_string(std::int32_t(platform::dwordFromBytes(e.value.data.data()))));
            else out.push_back("?" + where);
        }
        return out;
    }
};
}  // namespace

TEST_F(ResetTest, OpeningReadsNothingAndResetAllWritesEveryGroupInOrder) {
    EXPECT_TRUE(env.mem.log().empty());
    EXPECT_FALSE(main.visible());
    auto before = env.mem.snapshot();
    dlg->cmdResetAll.click();
    EXPECT_EQ(writes(), kResetAll);
    EXPECT_EQ(pics.shown, (std::vector<int>{A3DPictureSink::Monitor}));
    EXPECT_TRUE(env.msg.shown.empty());

    // Everything without a reset default is exactly as it was.
    for (const settings::Setting& s : settings::all()) {
        if (s.resetGroup != settings::ResetGroup::None) continue;
        SCOPED_TRACE(s.name);
        auto now = env.mem.get(s.key, s.name);
        ASSERT_TRUE(now);
        if (s.type == platform::ValueType::Dword) EXPECT_EQ(now->data, (std::vector<std::uint8_t>{77, 0, 0, 0}));
        else EXPECT_EQ(std::string(now->data.begin(), now->data.end()), kText);
    }
    auto after = env.mem.snapshot();
    EXPECT_EQ(after.size(), before.size() - 1);
}

TEST_F(ResetTest, EachButtonWritesOnlyItsOwnGroup) {
    // Each button's writes are its slice of the full reset.
    struct Case { ui::Button& button; std::size_t first, count; };
    const Case cases[] = {{dlg->cmdA3DType, 0, 1}, {dlg->cmdMIDIVoices, 1, 5}, {dlg->cmdMIDIFX, 6, 3},
                          {dlg->cmdDigOut, 9, 3},  {dlg->cmdDigIn, 12, 2},     {dlg->cmdAnalogEQ, 14, 3},
                          {dlg->Command1, 17, 10}, {dlg->cmdAC97Mix, 27, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button.caption());
        env.mem.clearLog();
        c.button.click();
        EXPECT_EQ(writes(), std::vector<std::string>(kResetAll.begin() + c.first,
                                                     kResetAll.begin() + c.first + c.count));
    }
    // Only "A3D Type" touches the main window's pictures.
    EXPECT_EQ(pics.shown, (std::vector<int>{2}));
}

TEST_F(ResetTest, DeletingTheMixerPathTwiceChangesNothingTheSecondTime) {
    dlg->cmdAC97Mix.click();
    EXPECT_FALSE(env.mem.get(kCP, "AC97MixerLocation"));
    auto before = env.mem.snapshot();
    env.mem.clearLog();
    dlg->cmdAC97Mix.click();
    EXPECT_TRUE(env.mem.log().empty());
    EXPECT_EQ(env.mem.snapshot(), before);
}

TEST(ResetMissingKeys, WritesIntoMissingDriverKeysAreLostAndNoKeyIsMade) {
    qmtest::TestEnv env;
    Pictures pics;
    frmReset dlg(env.services(), env.ui(), pics);
    dlg.cmdResetAll.click();
    EXPECT_TRUE(env.mem.log().empty());
    EXPECT_FALSE(env.mem.hasKey(kCP));
    EXPECT_FALSE(env.mem.hasKey(kCust));
    EXPECT_EQ(env.mem.openHandles(), 0u);
}

TEST(ResetGroups, EveryValueWithAResetDefaultIsInItsOwnGroupOnce) {
    std::size_t listed = 0;
    for (settings::ResetGroup g : reset::resetAllOrder())
        for (const settings::Setting* s : reset::groupValues(g)) {
            ++listed;
            EXPECT_EQ(s->resetGroup, g) << s->name;
        }
    std::size_t withDefault = 0;
    for (const settings::Setting& s : settings::all())
        if (s.resetGroup != settings::ResetGroup::None) ++withDefault;
    EXPECT_EQ(listed, withDefault);
    EXPECT_EQ(listed, 28u);
}

TEST_F(ResetTest, OkAndTheCloseBoxGiveTheMainWindowBack) {
    dlg->cmdOK.click();
    EXPECT_TRUE(main.visible());
    EXPECT_TRUE(main.enabled());
    main.openDialog(std::make_unique<frmReset>(env.services(), env.ui(), pics)).closeBox();
    EXPECT_TRUE(main.visible());
    EXPECT_TRUE(main.enabled());
    EXPECT_EQ(main.openChild(), nullptr);
}

// One safety copy per opening, before the first reset writes anything.
TEST_F(ResetTest, ASafetyCopyComesBeforeTheFirstResetOfAnOpening) {
    const std::string copies = "C:\\Documents and Settings\\Ann\\Application Data\\Quillmere";
    const std::string before = backup::makeBackup(env.store).text;
    dlg->cmdMIDIFX.click();
    dlg->cmdResetAll.click();
    EXPECT_EQ(env.documents.files.size(), 1u);
    EXPECT_EQ(env.documents.files[copies + "\\Before reset 2026-03-07 143005.reg"], before);

    // Without a copy: asked, and No writes nothing (the picture neither) until asked again.
    dlg->cmdOK.click();
    dlg = static_cast<frmReset*>(&main.openDialog(std::make_unique<frmReset>(env.services(), env.ui(), pics)));
    env.documents.failWith = platform::FileStatus::DiskFull;
    env.mem.clearLog();
    pics.shown.clear();
    dlg->cmdResetAll.click();
    ASSERT_EQ(env.msg.shown.size(), 1u);
    EXPECT_EQ(env.msg.shown[0].title, "Reset Settings");
    EXPECT_EQ(env.msg.shown[0].style, 4 + 48);
    EXPECT_NE(env.msg.shown[0].text.find(": the disk is full.  Without it, the reset cannot be undone later."), std::string::npos);
    EXPECT_TRUE(env.mem.log().empty());
    EXPECT_TRUE(pics.shown.empty());
    env.msg.answers = {ui::ID_YES};
    dlg->cmdA3DType.click();
    dlg->cmdDigIn.click();
    EXPECT_EQ(env.msg.shown.size(), 2u);
    EXPECT_EQ(writes(), (std::vector<std::string>{"ControlPanel:PrimaryXtalk=2", "Customization:DetectSpdifIn=0",
                                                  "Customization:EnableSpdifIn=0"}));
}
