#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <iterator>
#include <map>

#include "equalizer/EqWriter.h"
#include "tests/common/CoefText.h"
#include "settings/Catalogue.h"
#include "support/PublishedCoefSets.h"
#include "support/TestEnv.h"

using namespace equalizer;
using Bytes = std::vector<std::uint8_t>;

namespace {
std::vector<std::string> allTexts() {
    std::vector<std::string> t;
    for (EqCurve c : kAllCurves) t.push_back(hexText(c));
    for (SpeakerModel m : kAllSpeakers) t.push_back(hexText(m));
    return t;
}
Bytes bytesOf(const char* text) { return HexTextToBytes(text).value_or(Bytes()); }
Bytes slice(const Bytes& b, int from, int to) { return Bytes(b.begin() + from, b.begin() + to); }
// Ten 16-bit words, then the same ten again, little-endian.
Bytes blockC(std::vector<unsigned> words) {
    Bytes b;
    for (int rep = 0; rep < 2; ++rep)
        for (unsigned w : words) b.insert(b.end(), {std::uint8_t(w), std::uint8_t(w >> 8)});
    return b;
}
}  // namespace

TEST(EqSets, EveryTextConvertsTo248BytesAndPrintsBackTheSame) {
    for (const std::string& text : allTexts()) {
        auto bytes = HexTextToBytes(text);
        ASSERT_TRUE(bytes) << text.substr(0, 40);
        ASSERT_EQ(bytes->size(), kCoefSetBytes);
        std::string back, lower;
        for (std::uint8_t b : *bytes) {
            char item[4];
            std::snprintf(item, sizeof item, "%02x", b);
            back += (back.empty() ? "" : ",") + std::string(item);
        }
        for (char c : text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_EQ(back, lower);
    }
}

TEST(EqSets, LayoutHeaderBlocksCountAndBlockC) {
    const Bytes rock = bytesOf(hexText(EqCurve::Rock));
    const std::map<EqCurve, Bytes> expectedC = {
        {EqCurve::Rock, blockC({0x7974, 0x691A, 0x5C05, 0x4BAB, 0x3C3D, 0x3080, 0x378B, 0x3E96, 0x5235, 0x41DB})},
        {EqCurve::Classical, blockC({0x5235, 0x4EF0, 0x4BAB, 0x4865, 0x557A, 0x32D9, 0x3C3D, 0x4BAB, 0x4520, 0x39E4})},
        {EqCurve::Pop, blockC({0x3E96, 0x3E96, 0x3E96, 0x4520, 0x4865, 0x5235, 0x4BAB, 0x39E4, 0x3532, 0x3E96})},
        {EqCurve::Jazz, blockC({0x32D9, 0x39E4, 0x41DB, 0x4865, 0x58C0, 0x4EF0, 0x3E96, 0x32D9, 0x2E28, 0x3532})},
        {EqCurve::Dance, blockC({0x7FFF, 0x6C5F, 0x628F, 0x4EF0, 0x3E96, 0x32D9, 0x378B, 0x3E96, 0x58C0, 0x3E96})},
        {EqCurve::Flat, blockC(std::vector<unsigned>(10, 0x3E96))}};
    EXPECT_EQ(slice(rock, 0, 4), Bytes(4, 0));
    for (EqCurve c : kAllCurves) {
        const Bytes b = bytesOf(hexText(c));
        EXPECT_EQ(slice(b, 0, 208), slice(rock, 0, 208)) << name(c);
        EXPECT_EQ(slice(b, 208, 248), expectedC.at(c)) << name(c);
    }
    std::vector<Bytes> blocksA;
    for (SpeakerModel m : kAllSpeakers) {
        const Bytes b = bytesOf(hexText(m));
        EXPECT_EQ(slice(b, 0, 4), (Bytes{0xF0, 0xFF, 0xFF, 0xFF})) << name(m);
        EXPECT_EQ(slice(b, 208, 248), blockC(std::vector<unsigned>(10, 0x7FFF))) << name(m);
        blocksA.push_back(slice(b, 4, 104));
    }
    for (std::size_t i = 0; i < blocksA.size(); ++i)
        for (std::size_t j = i + 1; j < blocksA.size(); ++j) EXPECT_NE(blocksA[i], blocksA[j]);
    for (const std::string& text : allTexts()) {
        const Bytes b = bytesOf(text.c_str());
        EXPECT_EQ(slice(b, 4, 104), slice(b, 104, 204));
        EXPECT_EQ(slice(b, 204, 208), (Bytes{0x14, 0, 0, 0}));
    }
}

// Against the texts as published, not against text printed from the
// program's own bytes: a wrong byte shows even where a block repeats.
TEST(EqSets, TheProgramsBytesAreThePublishedTexts) {
    std::map<std::string, std::optional<CoefSet>> program;
    for (EqCurve c : kAllCurves) program[name(c)] = coefficients(c);
    for (SpeakerModel m : kAllSpeakers) program[name(m)] = coefficients(m);
    ASSERT_EQ(std::size(published::kCoefSetTexts), program.size());
    for (const auto& set : published::kCoefSetTexts) {
        ASSERT_TRUE(program.count(set.name)) << set.name;
        const auto& bytes = program.at(set.name);
        ASSERT_TRUE(bytes) << set.name;
        EXPECT_EQ(HexTextToBytes(set.text), Bytes(bytes->begin(), bytes->end())) << set.name;
    }
}

TEST(EqSets, MalformedTextConvertsToNothing) {
    EXPECT_EQ(HexTextToBytes("0a,FF,00f"), (Bytes{0x0A, 0xFF, 0x0F}));
    for (const char* bad : {"", "00,", ",00", "00,,00", "0g", "100", "00 ,01", "-1"})
        EXPECT_FALSE(HexTextToBytes(bad)) << bad;
}

namespace {
// Forwards to the memory registry, remembering every set-value tried,
// including those that fail for want of a key.
struct SpyRegistry : platform::MemoryRegistry {
    std::vector<std::string> tried;
    platform::RegStatus setValue(platform::RegKey k, const char* n, platform::ValueType t, const std::uint8_t* d,
                                 std::uint32_t s) override {
        tried.push_back(n);
        return MemoryRegistry::setValue(k, n, t, d, s);
    }
};
struct Writer {
    SpyRegistry mem;
    platform::mdlRegistry reg{mem};
    std::vector<std::string> told;
    EqWriter writer{services(), [this](const std::string& t, const std::string& title, int style) {
                        told.push_back(t + "|" + title + "|" + std::to_string(style));
                    }};
    platform::Services services() {
        platform::Services s;
        s.reg = &reg;
        return s;
    }
};
const char* kEq = settings::key::Equalizer;
}  // namespace

TEST(EqWriter, InstallsSetsIntoAKeyItCreates) {
    Writer w;
    w.writer.ApplyEqPreset(EqCurve::Dance);
    EXPECT_EQ(w.mem.tried, (std::vector<std::string>{"CoefSet0", "EqBypass", "ActiveCoefSet"}));
    EXPECT_EQ(w.mem.get(kEq, "CoefSet0"), (platform::RegValueData{platform::ValueType::Binary, bytesOf(hexText(EqCurve::Dance))}));
    EXPECT_EQ(w.mem.getDword(kEq, "EqBypass"), 0u);
    EXPECT_EQ(w.mem.getDword(kEq, "ActiveCoefSet"), 0u);
    const auto once = w.mem.snapshot();
    w.writer.ApplyEqPreset(EqCurve::Dance);
    EXPECT_EQ(w.mem.snapshot(), once);

    w.mem.setDword(kEq, "EqBypass", 1);
    w.mem.setDword(kEq, "ActiveCoefSet", 3);
    w.mem.tried.clear();
    w.writer.ApplySpeakerComp(SpeakerModel::YamahaYSTM100);
    EXPECT_EQ(w.mem.tried, std::vector<std::string>{"CoefSet0"});
    EXPECT_EQ(w.mem.get(kEq, "CoefSet0")->data, bytesOf(hexText(SpeakerModel::YamahaYSTM100)));
    EXPECT_EQ(w.mem.getDword(kEq, "EqBypass"), 1u);
    EXPECT_EQ(w.mem.getDword(kEq, "ActiveCoefSet"), 3u);
    EXPECT_TRUE(w.told.empty());
    EXPECT_EQ(w.mem.openHandles(), 0u);
}

TEST(EqWriter, KeyThatCannotBeCreatedIsToldOncePerAttempt) {
    Writer w;
    w.mem.denyAccess("SYSTEM\\CurrentControlSet\\Services\\wdm_au8830");
    w.writer.ApplyEqPreset(EqCurve::Rock);
    EXPECT_EQ(w.told, std::vector<std::string>{"unable to open key|Sorry|0"});
    EXPECT_EQ(w.mem.tried, (std::vector<std::string>{"EqBypass", "ActiveCoefSet"}));
    w.writer.ApplySpeakerComp(SpeakerModel::PhilipsDSS330);
    EXPECT_EQ(w.told.size(), 2u);
    EXPECT_EQ(w.mem.tried.size(), 2u);
    EXPECT_FALSE(w.mem.hasKey(kEq));
}
