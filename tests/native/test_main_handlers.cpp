#include <functional>
#include <iterator>

#include "test_main_fixture.h"

namespace mainwin {
namespace {

struct MainHandlers : MainWindowTest {};

// The detection boxes also write the box they govern: told below.
TEST_F(MainHandlers, EachCheckBoxWritesItsStateToItsValue) {
    frmMain& f = loadFresh();
    for (const BoxBinding& row : kBoxes) {
        if (row.governs != Box::None) continue;
        auto& box = *static_cast<ui::CheckBox*>(f.find(row.control));
        const Setting& s = row.setting();
        const int flipped = box.value() == 1 ? 0 : 1;
        env.mem.clearLog();
        box.setValue(flipped);
        EXPECT_EQ(writes(), (Writes{std::string(s.name) + "=" + std::to_string(flipped)})) << row.control;
        EXPECT_EQ(dword(s), static_cast<std::uint32_t>(flipped));
        box.setValue(1 - flipped);
        EXPECT_EQ(dword(s), static_cast<std::uint32_t>(1 - flipped));
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
    for (int i : {3, 0, 1, 2}) {
        env.mem.clearLog();
        f.cboA3DType.setListIndex(i);
        EXPECT_EQ(writes(), (Writes{"PrimaryXtalk=" + std::to_string(i)}));
        for (int p = 0; p < 4; ++p) EXPECT_EQ(f.find(kA3DTypes[p].picture)->visible(), p == i) << i << " " << p;
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
    for (int i : {2, 1, 0}) {
        Writes expected;
        for (std::size_t k = 0; k < std::size(kWavetableWrites); ++k)
            expected.push_back(std::string(kWavetableWrites[k]().name) + "=" +
                               std::to_string(kWavetableModes[i].writes[k]));
        env.mem.clearLog();
        f.cboWavetableMode.setListIndex(i);
        EXPECT_EQ(writes(), expected) << i;
        EXPECT_EQ(f.cboWavetableMode.text(), kWavetableModes[i].entry);
    }
    // As published, for one entry.
    env.mem.clearLog();
    f.cboWavetableMode.setListIndex(2);
    EXPECT_EQ(writes(), (Writes{"GamerMode=0", "SoftSynthVoices=0", "SoftSynthMode=0", "SoftSynthModeIndex=2", "SoftSynth=0"}));
    env.mem.clearLog();
    f.cboWavetableMode.setListIndex(-1);
    EXPECT_TRUE(writes().empty());
}

TEST_F(MainHandlers, LevelBarsAndEffectSlidersShowAndWriteTheirPosition) {
    frmMain& f = loadFresh();
    auto check = [&](const RangeBinding& row, const std::function<int()>& current) {
        auto& bar = *static_cast<ui::RangeControl*>(f.find(row.control));
        const auto* label = f.find(row.label);
        for (int pos : {row.max, 0}) {
            env.mem.clearLog();
            bar.setValue(pos);
            EXPECT_EQ(label->caption(), std::to_string(pos)) << row.control;
            EXPECT_EQ(current(), pos) << row.control;
            EXPECT_EQ(writes(), (Writes{std::string(row.setting().name) + "=" + std::to_string(pos)}));
        }
        EXPECT_FALSE(bar.setValue(row.max + 1));
        EXPECT_EQ(dword(row.setting()), 0u);
    };
    for (std::size_t i = 0; i < kLevelCount; ++i) check(row(Level(i)), [&] { return f.level(Level(i)); });
    for (std::size_t i = 0; i < kEffectCount; ++i)
        check(row(Effect(i)), [&] { return int(*dword(row(Effect(i)).setting())); });
    // The published ranges.
    EXPECT_EQ(f.hsbFront.max(), 31);
    EXPECT_EQ(f.hsbEffect1.max(), 127);
}

TEST_F(MainHandlers, OutputRateWritesTheRateAndShowsIt) {
    frmMain& f = loadFresh();
    for (int i : {0, 2, 1}) {
        env.mem.clearLog();
        f.optDigOut.select(i);
        EXPECT_EQ(writes(), (Writes{std::string("SpdifFrequency=") + kSpdifRates[i]}));
        EXPECT_EQ(f.lblDigOut.caption(), kSpdifRates[i]);
        EXPECT_EQ(f.spdifRate(), kSpdifRates[i]);
    }
    EXPECT_EQ(f.spdifRate(), "44100");
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
