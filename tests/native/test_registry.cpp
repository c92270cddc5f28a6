#include <gtest/gtest.h>

#include "platform/mdlRegistry.h"
#include "platform/memory/MemoryRegistry.h"

using namespace platform;

namespace {
const char* kA3D = "Software\\Aureal\\A3D";
const char* kCust = "SYSTEM\\CurrentControlSet\\Services\\wdm_au8830\\Customization";

struct RegistryTest : ::testing::Test {
    MemoryRegistry mem;
    mdlRegistry reg{mem};
};
}  // namespace

TEST_F(RegistryTest, MissingKeyReadsEmptyAndConvertsToNothing) {
    SettingValue v = reg.FetchRegSetting(platform::Root::LocalMachine, "No\\Such\\Key", "x");
    EXPECT_TRUE(v.isEmpty());
    EXPECT_EQ(v.toText(), "");
    EXPECT_EQ(v.toInt16(), std::int16_t(0));
    EXPECT_EQ(mem.openHandles(), 0u);
}

TEST_F(RegistryTest, StoreIntoMissingKeyIsLostUntilTheKeyIsMade) {
    reg.StoreRegSetting(platform::Root::LocalMachine, kA3D, "SplashAudio", 0, platform::ValueType::Dword);
    EXPECT_FALSE(mem.hasKey(kA3D));
    EXPECT_TRUE(mem.log().empty());
    reg.MakeRegKey(platform::Root::LocalMachine, kA3D);
    reg.StoreRegSetting(platform::Root::LocalMachine, kA3D, "SplashAudio", 0, platform::ValueType::Dword);
    auto v = mem.get(kA3D, "SplashAudio");
    ASSERT_TRUE(v);
    EXPECT_EQ(v->type, platform::ValueType::Dword);
    EXPECT_EQ(v->data, (std::vector<std::uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(mem.openHandles(), 0u);
}

TEST_F(RegistryTest, TextIsWrittenWithoutTerminatorAndReadBackExactly) {
    mem.addKey(kCust);
    reg.StoreRegSetting(platform::Root::LocalMachine, kCust, "AU30TRAY", "au30tray.exe", platform::ValueType::Text);
    auto raw = mem.get(kCust, "au30tray");
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->type, platform::ValueType::Text);
    EXPECT_EQ(raw->data.size(), 12u);
    EXPECT_EQ(reg.FetchRegSetting(platform::Root::LocalMachine, kCust, "AU30TRAY").toText(), "au30tray.exe");
    reg.StoreRegSetting(platform::Root::LocalMachine, kCust, "Empty", "", platform::ValueType::Text);
    EXPECT_EQ(mem.get(kCust, "Empty")->data.size(), 0u);
}

TEST_F(RegistryTest, StoredTerminatorComesBackAsACharacter) {
    mem.setRaw(kCust, "X", platform::ValueType::Text, {'1', 0});
    std::string t = reg.FetchRegSetting(platform::Root::LocalMachine, kCust, "X").toText();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0], '1');
    EXPECT_EQ(t[1], '\0');
    EXPECT_FALSE(textToInt16(t));  // "1" followed by NUL is not a number
}

TEST_F(RegistryTest, DwordReadsAsIntegerAndDecimalText) {
    mem.setDword(kCust, "SpdifFrequency", 48000);
    SettingValue v = reg.FetchRegSetting(platform::Root::LocalMachine, kCust, "spdiffrequency");
    EXPECT_TRUE(v.isNumber());
    EXPECT_EQ(v.toInt32(), 48000);
    EXPECT_EQ(v.toText(), "48000");
    EXPECT_FALSE(v.toInt16());  // outside 16 bits
    mem.setDword(kCust, "Neg", 0xFFFFFFFFu);
    EXPECT_EQ(reg.FetchRegSetting(platform::Root::LocalMachine, kCust, "Neg").toText(), "-1");
}

TEST_F(RegistryTest, OtherTypesReadAsEmpty) {
    for (platform::ValueType t : {platform::ValueType::Binary, platform::ValueType::ExpandText, platform::ValueType::MultiText, platform::ValueType::None}) {
        mem.setRaw(kCust, "B", t, {1, 2, 3, 4});
        SettingValue v;
        RegKey k = 0;
        ASSERT_EQ(mem.openKey(platform::Root::LocalMachine, kCust, platform::Access::ReadWrite, k), platform::RegStatus::Ok);
        EXPECT_EQ(reg.ReadRegValue(k, "B", v), platform::RegStatus(-1));
        mem.closeKey(k);
        EXPECT_TRUE(v.isEmpty());
        EXPECT_TRUE(reg.FetchRegSetting(platform::Root::LocalMachine, kCust, "B").isEmpty());
    }
    // A DWORD of the wrong length is not taken for a number.
    mem.setRaw(kCust, "Short", platform::ValueType::Dword, {1, 2});
    EXPECT_TRUE(reg.FetchRegSetting(platform::Root::LocalMachine, kCust, "Short").isEmpty());
}

TEST_F(RegistryTest, RemoveOfMissingValueChangesNothing) {
    mem.setDword(kCust, "Keep", 1);
    reg.RemoveRegValue(platform::Root::LocalMachine, kCust, "Gone");
    reg.RemoveRegValue(platform::Root::LocalMachine, "No\\Key", "Gone");
    EXPECT_TRUE(mem.log().empty());
    EXPECT_TRUE(mem.get(kCust, "Keep"));
    reg.RemoveRegValue(platform::Root::LocalMachine, kCust, "KEEP");
    EXPECT_FALSE(mem.get(kCust, "Keep"));
    EXPECT_EQ(mem.openHandles(), 0u);
}

TEST_F(RegistryTest, AccessDeniedKeyBehavesAsMissing) {
    mem.setDword(kCust, "EnableSpdifOut", 1);
    mem.denyAccess(kCust);
    EXPECT_TRUE(reg.FetchRegSetting(platform::Root::LocalMachine, kCust, "EnableSpdifOut").isEmpty());
    reg.StoreRegSetting(platform::Root::LocalMachine, kCust, "EnableSpdifOut", 0, platform::ValueType::Dword);
    reg.RemoveRegValue(platform::Root::LocalMachine, kCust, "EnableSpdifOut");
    reg.MakeRegKey(platform::Root::LocalMachine, kCust);
    EXPECT_EQ(mem.getDword(kCust, "EnableSpdifOut"), 1u);
    EXPECT_TRUE(mem.log().empty());
}

TEST_F(RegistryTest, WriteOfOtherTypesOrNonNumbersWritesNothing) {
    mem.addKey(kCust);
    reg.StoreRegSetting(platform::Root::LocalMachine, kCust, "A", 5, platform::ValueType::Binary);
    reg.StoreRegSetting(platform::Root::LocalMachine, kCust, "B", "x", platform::ValueType::Dword);
    EXPECT_TRUE(mem.log().empty());
    reg.StoreRegSetting(platform::Root::LocalMachine, kCust, "C", "-2", platform::ValueType::Dword);
    EXPECT_EQ(mem.getDword(kCust, "C"), 0xFFFFFFFEu);
}

TEST(SettingValueConversion, TextAndInt16) {
    EXPECT_EQ(SettingValue("12").toInt16(), std::int16_t(12));
    EXPECT_EQ(SettingValue(" -7 ").toInt16(), std::int16_t(-7));
    // Both edges, as text and as number.
    EXPECT_EQ(SettingValue("32767").toInt16(), std::int16_t(32767));
    EXPECT_EQ(SettingValue("-32768").toInt16(), std::int16_t(-32768));
    EXPECT_FALSE(SettingValue("32768").toInt16());
    EXPECT_FALSE(SettingValue("-32769").toInt16());
    EXPECT_EQ(SettingValue(32767).toInt16(), std::int16_t(32767));
    EXPECT_EQ(SettingValue(-32768).toInt16(), std::int16_t(-32768));
    EXPECT_FALSE(SettingValue(32768).toInt16());
    EXPECT_FALSE(SettingValue(-32769).toInt16());
    EXPECT_FALSE(SettingValue("x").toInt16());
    EXPECT_FALSE(SettingValue("").toInt16());
    EXPECT_FALSE(SettingValue("99999999999999999999").toInt16());
    EXPECT_EQ(SettingValue(-5).toText(), "-5");
    EXPECT_EQ(SettingValue().toText(), "");
}

// The fuzz harness compares snapshots by their sorted keys; a sub-key, a
// sibling that shares a beginning and a '|' in a path must not upset the order.
TEST(MemoryRegistrySnapshot, ListsEveryValueInTheOrderOfItsKey) {
    for (const char* odd : {"A\\B~", "A\\B|C"}) {
        MemoryRegistry mem;
        for (const char* path : {"A\\B\\C", "a\\b", odd, "A\\BA", "Z", "A\\B!"})
            for (const char* name : {"y", "X", "|", ""}) mem.setDword(path, name, 1);
        std::vector<FlatValue> flat;
        const std::size_t n = mem.snapshotInto(flat);
        ASSERT_EQ(n, 24u);
        for (std::size_t i = 1; i < n; ++i) EXPECT_LT(flat[i - 1].key, flat[i].key) << odd;
    }
}
