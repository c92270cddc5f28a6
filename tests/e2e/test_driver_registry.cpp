// The registry helpers the other tests trust: a snapshot that missed a
// change would let "nothing was written" pass on a program that wrote.
#include <gtest/gtest.h>

#include "Driver.h"
#include "settings/Catalogue.h"

using namespace e2e;

namespace {
const char* const kScratch = "SOFTWARE\\QuillmereDriverTest";
}

class DriverRegistry : public ::testing::Test {
protected:
    void SetUp() override { reg::removeKey(kScratch); }
    void TearDown() override { reg::removeKey(kScratch); }
};

TEST_F(DriverRegistry, SnapshotSeesEveryKindOfChangeBelowItsKeys) {
    const std::string sub = std::string(kScratch) + "\\A\\B";
    reg::setDword(sub, "n", 1);
    reg::setString(kScratch, "s", "text");
    const reg::Snapshot before = reg::snapshot({kScratch});
    EXPECT_EQ(reg::diff(before, reg::snapshot({kScratch})), "");

    reg::setDword(sub, "n", 2);
    EXPECT_EQ(reg::diff(before, reg::snapshot({kScratch})),
              "value changed: software\\quillmeredrivertest\\a\\b\\n: REG_DWORD 1 -> REG_DWORD 2\n");
    reg::setDword(sub, "n", 1);

    // Same text, other type: still a change.
    reg::removeValue(kScratch, "s");
    reg::setBinary(kScratch, "s", {'t', 'e', 'x', 't', 0});
    EXPECT_NE(reg::diff(before, reg::snapshot({kScratch})), "");
    reg::setString(kScratch, "s", "text");

    reg::createKey(sub + "\\C");
    EXPECT_EQ(reg::diff(before, reg::snapshot({kScratch})), "key created: software\\quillmeredrivertest\\a\\b\\c\n");
    reg::removeKey(sub + "\\C");

    reg::removeValue(sub, "n");
    EXPECT_EQ(reg::diff(before, reg::snapshot({kScratch})),
              "value removed: software\\quillmeredrivertest\\a\\b\\n (was REG_DWORD 1)\n");
}

TEST_F(DriverRegistry, NamesAreComparedWithoutCaseAndKeysGoWithTheirSubKeys) {
    reg::setString(std::string(kScratch) + "\\Deep\\Deeper", "Value", "x");
    ASSERT_TRUE(reg::get(std::string(kScratch) + "\\deep\\DEEPER", "vALUE").has_value());
    EXPECT_EQ(reg::get(std::string(kScratch) + "\\Deep\\Deeper", "Value")->text(), "x");
    reg::removeKey(kScratch);
    EXPECT_FALSE(reg::keyExists(kScratch));
    reg::removeKey(kScratch);  // gone already: no error
    EXPECT_FALSE(reg::get(kScratch, "Value").has_value());
}

TEST_F(DriverRegistry, CatalogueEntriesAreWrittenWithTheirTypes) {
    clearProgramRegistry();
    installDriver();
    EXPECT_EQ(reg::dword(settings::PrimaryXtalk()), 2u);
    EXPECT_EQ(reg::dword(settings::SpdifFrequency()), 48000u);
    EXPECT_EQ(reg::dword(settings::AC97MixerRearOutVol()), 8u);
    EXPECT_TRUE(reg::keyExists(settings::key::SpdifEnableList));
    // No reset default: left for the program (or the test) to create.
    EXPECT_FALSE(reg::exists(settings::HighPerformanceMIDI()));
    EXPECT_FALSE(reg::exists(settings::AC97MixerLocation()));
    EXPECT_FALSE(reg::keyExists(settings::key::A3D));

    reg::set(settings::AC97MixerLocation(), 12);
    EXPECT_EQ(reg::text(settings::AC97MixerLocation()), "12");
    EXPECT_FALSE(reg::dword(settings::AC97MixerLocation()).has_value());
    EXPECT_FALSE(reg::text(settings::PrimaryXtalk()).has_value());

    clearProgramRegistry();
    EXPECT_EQ(snapshotProgramKeys().values.count(
                  "system\\currentcontrolset\\services\\wdm_au8830\\controlpanel\\primaryxtalk"),
              0u);
    EXPECT_FALSE(reg::keyExists("SYSTEM\\CurrentControlSet\\Services\\wdm_au8830"));
}
