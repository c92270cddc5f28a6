#include <gtest/gtest.h>

#include "settings/Catalogue.h"
#include "support/TestEnv.h"
#include "wpcrset/RegisterProgram.h"
#include "wpcrset/RegisterTable.h"

using namespace wpcrset;

namespace {
const std::string kParams = settings::key::WpcrsetParameters;

// The write log as "Name=value" and "-Name", in order.
std::vector<std::string> writes(const platform::MemoryRegistry& mem) {
    std::vector<std::string> out;
    for (const auto& e : mem.log()) {
        if (e.op == platform::RegLogEntry::Delete) out.push_back("-" + e.name);
        if (e.op != platform::RegLogEntry::Set) continue;
        const auto& d = e.value.data;
        EXPECT_EQ(e.value.type, platform::ValueType::Dword);
        EXPECT_EQ(d.size(), 4u);
        std::uint32_t v = d.size() == 4 ? d[0] | d[1] << 8 | d[2] << 16 | std::uint32_t(d[3]) << 24 : 0;
        out.push_back(e.name + "=" + std::to_string(v));
    }
    return out;
}

struct Program : ::testing::Test {
    qmtest::TestEnv env;
    settings::Store store{env.reg};
    void SetUp() override {
        env.mem.setDword(kParams, "Reg01", 0x1234);
        env.mem.setDword(kParams, "RegCnt", 2);
    }
    std::vector<std::string> update(int chipset, int slot, const char* fix = "0", const char* agp = "0") {
        env.mem.clearLog();
        updateProgram(store, {chipset, slot, fix, agp});
        return writes(env.mem);
    }
};
}  // namespace

TEST_F(Program, SlotEntryForEveryChipsetAndSlotThenACountOfOne) {
    const std::uint32_t bus0[6] = {4210943, 4735231, 5259519, 5783807, 6308095, 6832383};
    const std::uint32_t i81x[6] = {20988159, 21512447, 22036735, 22561023, 23085311, 23609599};
    for (int chipset = 0; chipset < 5; ++chipset)
        for (int slot = 0; slot < 6; ++slot) {
            const auto want = chipset == ChipsetIntelI81x ? i81x[slot] : bus0[slot];
            EXPECT_EQ(update(chipset, slot, "0", "1"),
                      (std::vector<std::string>{"Reg00=" + std::to_string(want), "RegCnt=1"}))
                << chipset << "/" << slot;
        }
    EXPECT_EQ(env.mem.getDword(kParams, "Reg01"), 0x1234u);  // never touched without the fix
}

TEST_F(Program, ViaFixAddsTheBridgeEntryBeforeTheCount) {
    EXPECT_EQ(update(ChipsetVIA, 5, "1", "0"), (std::vector<std::string>{"Reg00=6832383", "Reg01=541200", "RegCnt=2"}));
    EXPECT_EQ(update(ChipsetVIA, 0, "1", "1"), (std::vector<std::string>{"Reg00=4210943", "Reg01=541296", "RegCnt=2"}));
}

TEST_F(Program, FastAgpValueFromOutsideWritesOnlyTheSlotEntry) {
    for (const char* agp : {"2", "", "abc"}) EXPECT_EQ(update(ChipsetVIA, 0, "1", agp), (std::vector<std::string>{"Reg00=4210943"}));
    EXPECT_EQ(env.mem.getDword(kParams, "RegCnt"), 2u);
    // A fix value that is not a number counts as off.
    EXPECT_EQ(update(ChipsetVIA, 0, "x", "1"), (std::vector<std::string>{"Reg00=4210943", "RegCnt=1"}));
}

TEST_F(Program, NonViaAfterTwoEntriesLeavesTheOldBridgeEntryOutsideTheCount) {
    update(ChipsetVIA, 1, "1", "1");
    env.mem.clearLog();
    EXPECT_EQ(updateProgram(store, {ChipsetIntelBX, 1, "1", "1"}), UpdateResult::NonVia);
    EXPECT_EQ(writes(env.mem), (std::vector<std::string>{"Reg00=4735231", "RegCnt=1"}));
    EXPECT_EQ(env.mem.getDword(kParams, "Reg01"), 541296u);
}

TEST_F(Program, NothingChosenOrNoToolInstalledWritesNothing) {
    EXPECT_TRUE(update(-1, 0).empty());
    EXPECT_TRUE(update(ChipsetVIA, -1, "1", "1").empty());
    EXPECT_TRUE(update(5, 0).empty());
    EXPECT_TRUE(update(ChipsetAMD, 6).empty());
    qmtest::TestEnv bare;
    settings::Store s{bare.reg};
    updateProgram(s, {ChipsetVIA, 0, "1", "1"});
    removeProgram(s);
    EXPECT_FALSE(bare.mem.hasKey(kParams));
}

TEST_F(Program, RemoveAllZeroesTheCountThenDeletesWhatExistsInOrder) {
    env.mem.setDword(kParams, "Reg00", 1);
    env.mem.setDword(kParams, "Reg15", 1);
    env.mem.setDword(kParams, "Start", 1);
    env.mem.clearLog();
    removeProgram(store);
    EXPECT_EQ(writes(env.mem), (std::vector<std::string>{"RegCnt=0", "-Reg00", "-Reg01", "-Reg15"}));
    EXPECT_EQ(env.mem.getDword(kParams, "Start"), 1u);
}
