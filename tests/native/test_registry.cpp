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
    SettingValue v = reg.FetchRegSetting(HKEY_LOCAL_MACHINE, "No\\Such\\Key", "x");
    EXPECT_TRUE(v.isEmpty());
    EXPECT_EQ(v.toText(), "");
    EXPECT_EQ(v.toInt16(), std::int16_t(0));
    EXPECT_EQ(mem.openHandles(), 0u);
}

TEST_F(RegistryTest, StoreIntoMissingKeyIsLostUntilTheKeyIsMade) {
    reg.StoreRegSetting(HKEY_LOCAL_MACHINE, kA3D, "SplashAudio", 0, REG_DWORD);
    EXPECT_FALSE(mem.hasKey(kA3D));
    EXPECT_TRUE(mem.log().empty());
    reg.MakeRegKey(HKEY_LOCAL_MACHINE, kA3D);
    reg.StoreRegSetting(HKEY_LOCAL_MACHINE, kA3D, "SplashAudio", 0, REG_DWORD);
    auto v = mem.get(kA3D, "SplashAudio");
    ASSERT_TRUE(v);
    EXPECT_EQ(v->type, REG_DWORD);
    EXPECT_EQ(v->data, (std::vector<std::uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(mem.openHandles(), 0u);
}

TEST_F(RegistryTest, TextIsWrittenWithoutTerminatorAndReadBackExactly) {
    mem.addKey(kCust);
    reg.StoreRegSetting(HKEY_LOCAL_MACHINE, kCust, "AU30TRAY", "au30tray.exe", REG_SZ);
    auto raw = mem.get(kCust, "au30tray");
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->type, REG_SZ);
    EXPECT_EQ(raw->data.size(), 12u);
    EXPECT_EQ(reg.FetchRegSetting(HKEY_LOCAL_MACHINE, kCust, "AU30TRAY").toText(), "au30tray.exe");
    reg.StoreRegSetting(HKEY_LOCAL_MACHINE, kCust, "Empty", "", REG_SZ);
    EXPECT_EQ(mem.get(kCust, "Empty")->data.size(), 0u);
}

TEST_F(RegistryTest, StoredTerminatorComesBackAsACharacter) {
    mem.setRaw(kCust, "X", REG_SZ, {'1', 0});
    std::string t = reg.FetchRegSetting(HKEY_LOCAL_MACHINE, kCust, "X").toText();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0], '1');
    EXPECT_EQ(t[1], '\0');
    EXPECT_FALSE(textToInt16(t));  // "1" followed by NUL is not a number
}

TEST_F(RegistryTest, DwordReadsAsIntegerAndDecimalText) {
    mem.setDword(kCust, "SpdifFrequency", 48000);
    SettingValue v = reg.FetchRegSetting(HKEY_LOCAL_MACHINE, kCust, "spdiffrequency");
    EXPECT_TRUE(v.isNumber());
    EXPECT_EQ(v.toInt32(), 48000);
    EXPECT_EQ(v.toText(), "48000");
    EXPECT_FALSE(v.toInt16());  // outside 16 bits
    mem.setDword(kCust, "Neg", 0xFFFFFFFFu);
    EXPECT_EQ(reg.FetchRegSetting(HKEY_LOCAL_MACHINE, kCust, "Neg").toText(), "-1");
}

TEST_F(RegistryTest, OtherTypesReadAsEmpty) {
    for (std::uint32_t t : {REG_BINARY, REG_EXPAND_SZ, REG_MULTI_SZ, REG_NONE}) {
        mem.setRaw(kCust, "B", t, {1, 2, 3, 4});
        SettingValue v;
        RegKey k = 0;
        ASSERT_EQ(mem.openKey(HKEY_LOCAL_MACHINE, kCust, KEY_ACCESS_0x3F, k), 0);
        EXPECT_EQ(reg.ReadRegValue(k, "B", v), -1);
        mem.closeKey(k);
        EXPECT_TRUE(v.isEmpty());
        EXPECT_TRUE(reg.FetchRegSetting(HKEY_LOCAL_MACHINE, kCust, "B").isEmpty());
    }
    // A DWORD of the wrong length is not taken for a number.
    mem.setRaw(kCust, "Short", REG_DWORD, {1, 2});
    EXPECT_TRUE(reg.FetchRegSetting(HKEY_LOCAL_MACHINE, kCust, "Short").isEmpty());
}

TEST_F(RegistryTest, RemoveOfMissingValueChangesNothing) {
    mem.setDword(kCust, "Keep", 1);
    reg.RemoveRegValue(HKEY_LOCAL_MACHINE, kCust, "Gone");
    reg.RemoveRegValue(HKEY_LOCAL_MACHINE, "No\\Key", "Gone");
    EXPECT_TRUE(mem.log().empty());
    EXPECT_TRUE(mem.get(kCust, "Keep"));
    reg.RemoveRegValue(HKEY_LOCAL_MACHINE, kCust, "KEEP");
    EXPECT_FALSE(mem.get(kCust, "Keep"));
    EXPECT_EQ(mem.openHandles(), 0u);
}

TEST_F(RegistryTest, AccessDeniedKeyBehavesAsMissing) {
    mem.setDword(kCust, "EnableSpdifOut", 1);
    mem.denyAccess(kCust);
    EXPECT_TRUE(reg.FetchRegSetting(HKEY_LOCAL_MACHINE, kCust, "EnableSpdifOut").isEmpty());
    reg.StoreRegSetting(HKEY_LOCAL_MACHINE, kCust, "EnableSpdifOut", 0, REG_DWORD);
    reg.RemoveRegValue(HKEY_LOCAL_MACHINE, kCust, "EnableSpdifOut");
    reg.MakeRegKey(HKEY_LOCAL_MACHINE, kCust);
    EXPECT_EQ(mem.getDword(kCust, "EnableSpdifOut"), 1u);
    EXPECT_TRUE(mem.log().empty());
}

TEST_F(RegistryTest, WriteOfOtherTypesOrNonNumbersWritesNothing) {
    mem.addKey(kCust);
    reg.StoreRegSetting(HKEY_LOCAL_MACHINE, kCust, "A", 5, REG_BINARY);
    reg.StoreRegSetting(HKEY_LOCAL_MACHINE, kCust, "B", "x", REG_DWORD);
    EXPECT_TRUE(mem.log().empty());
    reg.StoreRegSetting(HKEY_LOCAL_MACHINE, kCust, "C", "-2", REG_DWORD);
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
