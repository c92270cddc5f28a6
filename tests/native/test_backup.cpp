// The backup file's format and what restore and undo take from it.
#include <gtest/gtest.h>

#include <random>

#include "backup/Backup.h"
#include "platform/memory/MemoryRegistry.h"

namespace {

using backup::RegEntry;
using backup::RestorePlan;
using Bytes = std::vector<std::uint8_t>;
using Refusal = RestorePlan::Refusal;

Bytes bytesOf(const std::string& s) { return Bytes(s.begin(), s.end()); }
Bytes dwordBytes(std::uint32_t v) {
    const auto b = platform::dwordBytes(v);
    return Bytes(b.begin(), b.end());
}

std::string utf16File(const std::string& ascii) {
    std::string out = "\xFF\xFE";
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

const char* const kCustomization = "SYSTEM\\CurrentControlSet\\Services\\wdm_au8830\\Customization";

struct Machine {
    platform::MemoryRegistry mem;
    platform::mdlRegistry reg{mem};
    settings::Store store{reg};
    Machine() {
        for (const settings::Setting* s : backup::writtenSettings()) mem.addKey(s->key);
    }
};

// A value of the setting's own type; texts hold what needs escaping.
Bytes randomValue(const settings::Setting& s, std::mt19937& rng) {
    if (s.type == platform::ValueType::Dword) return dwordBytes(rng());
    const std::size_t n = s.type == platform::ValueType::Binary ? 248 : rng() % 40;
    Bytes b(n);
    for (auto& c : b) c = static_cast<std::uint8_t>(s.type == platform::ValueType::Binary ? rng() : 0x20 + rng() % 0xDF);
    if (s.type == platform::ValueType::Text && n > 3) b[0] = '\\', b[1] = '"', b[n - 1] = '\\';
    return b;
}


// Any state of one value: absent, of its own type and size, or anything else.
std::optional<platform::RegValueData> randomState(const settings::Setting& s, std::mt19937& rng) {
    switch (rng() % 5) {
        case 0: return std::nullopt;
        case 1: return platform::RegValueData{s.type, randomValue(s, rng)};
        case 2: {  // its type, any length
            Bytes b(rng() % 300);
            for (auto& c : b) c = static_cast<std::uint8_t>(rng());
            return platform::RegValueData{s.type, b};
        }
        case 3: return platform::RegValueData{platform::ValueType::Text, bytesOf(std::string("1\0", 2))};  // as regedit stores a text
        default: return platform::RegValueData{platform::ValueType(rng() % 12), randomValue(s, rng)};
    }
}

void put(platform::MemoryRegistry& mem, const settings::Setting& s, const std::optional<platform::RegValueData>& v) {
    if (v) {
        mem.setRaw(s.key, s.name, v->type, v->data);
        return;
    }
    platform::RegKey k = 0;
    mem.openKey(platform::Root::LocalMachine, s.key, platform::Access::ReadWrite, k);
    mem.deleteValue(k, s.name);
    mem.closeKey(k);
}

}  // namespace

// The law: a backup then a restore onto any other state leaves every value
// exactly as backed up, absent ones absent; a value that cannot be the
// setting's is skipped, counted and left alone. A backup without deletion
// lines (as made before) leaves values it does not name alone.
TEST(Backup, RestoreBringsBackEveryValueAsBackedUpPresentOrAbsent) {
    std::mt19937 rng(16);
    for (int round = 0; round < 200; ++round) {
        Machine m;
        std::vector<std::optional<platform::RegValueData>> before, other;
        std::size_t misfits = 0;
        for (const settings::Setting* s : backup::writtenSettings()) {
            before.push_back(randomState(*s, rng));
            put(m.mem, *s, before.back());
            if (before.back() && !backup::fits(*s, before.back()->type, before.back()->data.size())) ++misfits;
        }
        const backup::Backup file = backup::makeBackup(m.store);
        EXPECT_EQ(file.values, backup::writtenSettings().size());
        for (const settings::Setting* s : backup::writtenSettings()) {
            other.push_back(randomState(*s, rng));
            put(m.mem, *s, other.back());
        }
        const bool oldForm = round % 10 == 9;
        std::string text = file.text;
        for (std::size_t at; oldForm && (at = text.find("=-\r\n")) != std::string::npos;) {
            const std::size_t line = text.rfind("\r\n", at) + 2;
            text.erase(line, at + 4 - line);
        }
        const RestorePlan plan = backup::planRestore(text);
        if (plan.refusal == Refusal::NothingToRestore) continue;
        ASSERT_EQ(plan.refusal, Refusal::None);
        EXPECT_EQ(plan.skipped, misfits);
        const backup::Outcome done = backup::applyRestore(plan, m.store);
        EXPECT_EQ(done.done, plan.values.size());
        EXPECT_EQ(done.keyMissing + done.refused, 0u);

        std::size_t i = 0;
        for (const settings::Setting* s : backup::writtenSettings()) {
            SCOPED_TRACE(s->name);
            const auto& was = before[i];
            const auto now = m.mem.get(s->key, s->name);
            const bool fits = was && backup::fits(*s, was->type, was->data.size());
            if (fits) {
                Bytes want = was->data;
                if (s->type == platform::ValueType::Text && !want.empty() && want.back() == 0) want.pop_back();
                ASSERT_TRUE(now);
                EXPECT_EQ(*now, (platform::RegValueData{s->type, want}));
            } else if (!was && !oldForm) {
                EXPECT_FALSE(now);
            } else {
                EXPECT_EQ(now, other[i]);  // skipped, or not named
            }
            ++i;
        }
    }
}

TEST(Restore, SkipsAndCountsValuesOfAnotherSizeThanTheCatalogues) {
    // 45 bytes where a set has kCoefSetBytes, 2 where a number has 4.
    std::string set45;
    for (int i = 0; i < 45; ++i) set45 += i ? ",aa" : "aa";
    const std::string k = "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\wdm_au8830\\";
    const std::string fixed = "REGEDIT4\r\n\r\n" + k + "Equalizer]\r\n\"CoefSet0\"=hex:" + set45 + "\r\n" + k +
                              "Customization]\r\n\"CorrectLA2\"=hex(4):01,00\r\n\"ST9704ATTEN\"=dword:00000001\r\n";
    const RestorePlan plan = backup::planRestore(fixed);
    ASSERT_EQ(plan.values.size(), 1u);
    EXPECT_EQ(plan.values[0].setting, &settings::ST9704ATTEN());
    EXPECT_EQ(plan.skipped, 2u);
    EXPECT_TRUE(backup::fits(settings::CoefSet0(), platform::ValueType::Binary, settings::kCoefSetBytes));
    EXPECT_FALSE(backup::fits(settings::CoefSet0(), platform::ValueType::Binary, 45));
}

// Only the A3D and Equalizer keys are made; a value of any other missing key
// is not written and is counted, a deletion there is already done.
TEST(Restore, WritesOnlyWhereTheKeyIsAndCountsWhatItCouldNot) {
    platform::MemoryRegistry mem;
    platform::mdlRegistry reg(mem);
    settings::Store store(reg);
    mem.addKey(kCustomization);
    const std::string text =
        "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\" + std::string(kCustomization) + "]\r\n\"CorrectLA2\"=dword:00000001\r\n"
        "[HKEY_LOCAL_MACHINE\\" + std::string(settings::key::ControlPanel) + "]\r\n\"PrimaryXtalk\"=dword:00000001\r\n"
        "\"GamerMode\"=dword:00000001\r\n\"VIAFix\"=-\r\n"
        "[HKEY_LOCAL_MACHINE\\" + std::string(settings::key::A3D) + "]\r\n\"SplashAudio\"=dword:00000001\r\n";
    const backup::Outcome done = backup::applyRestore(backup::planRestore(text), store);
    EXPECT_EQ(done.done, 3u);
    EXPECT_EQ(done.keyMissing, 2u);
    EXPECT_EQ(done.refused, 0u);
    EXPECT_EQ(mem.getDword(settings::key::A3D, "SplashAudio"), 1u);
    for (const platform::RegLogEntry& e : mem.log()) EXPECT_NE(e.path, settings::key::ControlPanel);

    mem.denyAccess(kCustomization);
    EXPECT_EQ(backup::applyRestore(backup::planRestore(text), store).refused, 1u);
}

TEST(RegFile, WritesEveryStoredTypeAsRegeditDoes) {
    const std::string k = "Software\\Aureal\\A3D";
    const std::vector<RegEntry> entries = {
        {k, "Path", platform::ValueType::Text, bytesOf("C:\\A \"B\"")},
        {k, "Terminated", platform::ValueType::Text, bytesOf(std::string("x\0", 2))},
        {k, "Lines", platform::ValueType::Text, bytesOf("a\r\nb")},
        {k, "Short", platform::ValueType::Dword, {1, 2}},
        {k, "Expand", platform::ValueType::ExpandText, bytesOf(std::string("%a%\0", 4))},
        {k, "None", platform::ValueType::None, {}},
        {k, "Qword", platform::ValueType(11), {0, 0, 0, 0, 0, 0, 0, 1}},
    };
    EXPECT_EQ(backup::writeRegFile(entries),
              "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Aureal\\A3D]\r\n"
              "\"Path\"=\"C:\\\\A \\\"B\\\"\"\r\n"
              "\"Terminated\"=\"x\"\r\n"
              "\"Lines\"=hex(1):61,0d,0a,62\r\n"
              "\"Short\"=hex(4):01,02\r\n"
              "\"Expand\"=hex(2):25,61,25,00\r\n"
              "\"None\"=hex(0):\r\n"
              "\"Qword\"=hex(b):00,00,00,00,00,00,00,01\r\n\r\n");
}

TEST(RegFile, FoldsLongHexListsAtRegeditsColumnAndReadsThemBack) {
    const RegEntry set{"SYSTEM\\CurrentControlSet\\Services\\wdm_au8830\\Equalizer", "CoefSet0", platform::ValueType::Binary, Bytes(248, 0xAB)};
    const std::string text = backup::writeRegFile({set});
    std::size_t lines = 0, start = text.find("\"CoefSet0\"");
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        const std::string line = text.substr(start, end - start);
        if (line.empty()) break;
        EXPECT_LE(line.size(), 80u) << line;
        if (lines > 0) EXPECT_EQ(line.substr(0, 2), "  ");
        ++lines;
        start = end + 2;
    }
    EXPECT_EQ(text.substr(text.find("\"CoefSet0\""), 85),
              "\"CoefSet0\"=hex:ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,\\\r\n  ab");
    EXPECT_EQ(lines, 11u);
    const backup::ReadResult back = backup::readRegFile(text);
    ASSERT_EQ(back.entries.size(), 1u);
    EXPECT_EQ(back.entries[0], set);
}

TEST(RegFile, ReadsRegeditsUnicodeExport) {
    const std::string text =
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Aureal\\Vortex\\AU8830\\SpeakerCompensation]\r\n"
        "\"CurrSpeakerComp\"=\"Yamaha YSTM100\"\r\n"
        "\"Other\"=hex(2):25,00,61,00,\\\r\n  25,00,00,00\r\n\r\n";
    const backup::ReadResult r = backup::readRegFile(utf16File(text));
    ASSERT_EQ(r.error, backup::ReadError::None);
    ASSERT_EQ(r.entries.size(), 2u);
    EXPECT_EQ(r.entries[0].data, bytesOf("Yamaha YSTM100"));
    EXPECT_EQ(r.entries[1].type, platform::ValueType::ExpandText);
    EXPECT_EQ(r.entries[1].data, bytesOf(std::string("%a%\0", 4)));
    // The same form saved as 8-bit text reads the same.
    EXPECT_EQ(backup::readRegFile(text).entries[0], r.entries[0]);
}

TEST(RegFile, EveryStoredTypeSurvivesWritingAndReading) {
    std::mt19937 rng(7);
    std::vector<RegEntry> entries;
    for (std::uint32_t type : {0u, 1u, 2u, 3u, 4u, 5u, 7u, 11u, 0x1234u}) {
        for (std::size_t n : {0, 1, 4, 300}) {
            Bytes b(n);
            for (auto& c : b) c = static_cast<std::uint8_t>(rng());
            if (n) b.back() |= 1;  // a terminator's fate is the writer test's
            entries.push_back({"Key\\" + std::to_string(type), "v\\\"" + std::to_string(n), platform::ValueType(type), b});
        }
    }
    const backup::ReadResult r = backup::readRegFile(backup::writeRegFile(entries));
    ASSERT_EQ(r.error, backup::ReadError::None);
    ASSERT_EQ(r.entries.size(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) EXPECT_EQ(r.entries[i], entries[i]) << std::uint32_t(entries[i].type);
}

TEST(Restore, TakesOnlyTheProgramsValuesOfTheirOwnTypeAndCountsTheRest) {
    const std::string text =
        "REGEDIT4\n\n"
        "; a comment\n"
        "[HKEY_CURRENT_USER\\Software\\Aureal\\A3D]\n"
        "\"SplashAudio\"=dword:00000001\n"
        "[-HKEY_LOCAL_MACHINE\\Software\\Aureal\\A3D]\n"
        "[hkey_local_machine\\software\\aureal\\a3d]\n"
        "@=\"default\"\n"
        "\"splashscreen\"=dword:00000001\n"
        "\"SplashAudio\"=\"1\"\n"
        "\"Stranger\"=dword:00000001\n"
        "\"Stranger\"=-\n"
        "\"SplashAudio\"=-\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Multimedia\\DirectXMedia]\n"
        "\".Prog\"=\"evil.exe\"\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\n"
        "\"AU30TRAY\"=hex(1):61,75,00\n"
        "\"Other\"=\"x.exe\"\n";
    const RestorePlan plan = backup::planRestore(text);
    ASSERT_EQ(plan.refusal, Refusal::None);
    ASSERT_EQ(plan.values.size(), 3u);
    EXPECT_EQ(plan.values[0].setting, &settings::SplashScreen());
    EXPECT_TRUE(plan.values[1].remove);
    EXPECT_EQ(plan.values[1].setting, &settings::SplashAudio());
    EXPECT_EQ(plan.values[2].setting, &settings::AU30TRAY());
    EXPECT_EQ(plan.values[2].data, bytesOf("au"));
    // comment, other root and its value, deleted key, default value, a text
    // where a number belongs, a stranger and its deletion, the read-only
    // command and the run key's other program
    EXPECT_EQ(plan.skipped, 10u);
}

TEST(Restore, RefusesFilesItCannotTrust) {
    const std::string good = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Aureal\\A3D]\r\n\"SplashAudio\"=dword:00000001\r\n";
    ASSERT_EQ(backup::planRestore(good).refusal, Refusal::None);
    const struct {
        std::string file;
        Refusal refusal;
    } cases[] = {
        {"", Refusal::Empty},
        {"\xFF\xFE", Refusal::Empty},
        {" \r\n\r\n", Refusal::Empty},
        {"[HKEY_LOCAL_MACHINE\\Software\\Aureal\\A3D]\r\n\"SplashAudio\"=dword:00000001\r\n", Refusal::NotRegistryFile},
        {"MZ\x90\x00\x03", Refusal::NotRegistryFile},
        {good.substr(0, good.size() - 6), Refusal::CutOff},  // dword:0000
        {good.substr(0, good.size() - 10), Refusal::CutOff},  // dword:
        {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software\\Aureal\\A3D]\r\n\"SplashAudio\"=\"ab", Refusal::CutOff},
        {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software\\Aureal\\A3D]\r\n\"SplashAudio\"=hex:01,\\\r\n", Refusal::CutOff},
        {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software\\Aur", Refusal::CutOff},
        {utf16File(good).substr(0, utf16File(good).size() - 1), Refusal::CutOff},
        {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software\\Other]\r\n\"SplashAudio\"=dword:00000001\r\n", Refusal::NothingToRestore},
        {good + std::string(backup::kMaxFileBytes, ' '), Refusal::TooLarge},
    };
    for (const auto& c : cases) EXPECT_EQ(backup::planRestore(c.file).refusal, c.refusal) << c.file.substr(0, 60);
}

TEST(Undo, PutsBackWhatWasStoredAndRemovesWhatWasNot) {
    Machine m;
    m.mem.setRaw(settings::key::A3D, "SplashAudio", platform::ValueType::Text, bytesOf(std::string("1\0", 2)));  // not the program's form
    m.mem.setDword(kCustomization, "SpdifFrequency", 44100);
    backup::Snapshot start;
    start.take(m.store);
    EXPECT_FALSE(start.changedSince(m.store));

    m.mem.setDword(settings::key::A3D, "SplashAudio", 0);
    m.mem.setDword(kCustomization, "SpdifFrequency", 48000);
    m.mem.setDword(settings::key::A3D, "SplashScreen", 0);
    EXPECT_TRUE(start.changedSince(m.store));
    m.mem.clearLog();
    start.putBack(m.store);

    EXPECT_EQ(m.mem.log().size(), 3u);  // only what differs
    EXPECT_EQ(*m.mem.get(settings::key::A3D, "SplashAudio"), (platform::RegValueData{platform::ValueType::Text, bytesOf(std::string("1\0", 2))}));
    EXPECT_EQ(m.mem.getDword(kCustomization, "SpdifFrequency"), 44100u);
    EXPECT_FALSE(m.mem.get(settings::key::A3D, "SplashScreen"));
    EXPECT_FALSE(start.changedSince(m.store));
}
