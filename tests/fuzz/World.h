// The machine a fuzz run happens on, built from the input: every key of the
// catalogue present, missing or access-denied, every value missing or of
// any type, size and content, the Windows version and the files; and the
// message boxes and program starts, answered from the user's input.
#pragma once
#include <array>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/SettingValue.h"
#include "settings/Catalogue.h"
#include "tests/fuzz/FuzzInput.h"
#include "tests/native/support/TestEnv.h"
#include "ui/Form.h"

namespace qmfuzz {

// Where a finding goes when not to the fuzzer (a native test throws it).
inline void (*onFinding)(const std::string&) = nullptr;

// Prints what went wrong and stops the run, so the fuzzer keeps the input.
[[noreturn]] inline void fail(const std::string& what) {
    if (onFinding) onFinding(what);
    std::fprintf(stderr, "\n*** Quillmere fuzz finding: %s\n", what.c_str());
    std::abort();
}
inline void require(const std::string& problem) {
    if (!problem.empty()) fail(problem);
}

// Message boxes answered from the input. Each box must be one the program
// can show: a text, a title, and one of the four styles it uses.
struct ScriptedMessageBox : ui::MessageBoxService {
    FuzzInput* in = nullptr;
    std::vector<qmtest::ShownMessage> shown;
    int show(ui::Form* owner, const std::string& text, const std::string& title, int style) override {
        if (text.empty()) fail("a message box without text");
        if (title.empty()) fail("a message box without title: " + text);
        if (style != ui::MB_OK_ && style != ui::MB_YESNO_ && style != ui::MB_CRITICAL_ && style != ui::MB_INFORMATION_)
            fail("a message box of style " + std::to_string(style) + ": " + text);
        // The windows catch a failing handler and say so: still a fault.
        if (text.rfind(ui::kChangeFailed, 0) == 0) fail("a user's action failed: " + text);
        shown.push_back({text, title, style, owner ? owner->name() : std::string()});
        if (shown.size() > 4096) fail("message boxes without end: " + text);
        if (style == ui::MB_YESNO_) return in->flag() ? ui::ID_YES : ui::ID_NO;
        return ui::ID_OK;
    }
};

// Starts succeed or fail as the input says; what was started is recorded.
struct ScriptedLauncher : platform::Launcher {
    FuzzInput* in = nullptr;
    std::vector<std::string> commandLines, files;
    std::string lastStartedFile;  // the last file that did start
    bool startCommandLine(const std::string& c) override {
        if (c.empty()) fail("an empty command line was started");
        commandLines.push_back(c);
        return in->flag();
    }
    bool startFile(const std::string& p) override {
        if (p.empty()) fail("an empty file name was started");
        files.push_back(p);
        const bool ok = in->flag();
        if (ok) lastStartedFile = p;
        return ok;
    }
};

struct World {
    qmtest::TestEnv env;  // memory registry, version, file versions, files
    ScriptedMessageBox box;
    ScriptedLauncher launcher;

    World() = default;
    explicit World(FuzzInput& in) { reset(in); }
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // As new, for the next input; the registry keeps its memory for reuse.
    void reset(FuzzInput& in) {
        env.mem.reset();
        env.version = qmtest::FakeVersion();
        env.fileVersions = qmtest::FakeFileVersions();
        env.files = qmtest::FakeFiles();
        env.launcher = qmtest::FakeLauncher();
        env.msg = qmtest::RecordingMessageBox();
        env.windows = qmtest::RecordingRealizer();
        env.dialogs = qmtest::FakeFileDialogs();
        env.documents = qmtest::FakeDocuments();
        env.clock = qmtest::FakeClock();
        env.folders = qmtest::FakeFolders();
        box.in = &in;
        box.shown.clear();
        launcher.in = &in;
        launcher.commandLines.clear();
        launcher.files.clear();
        launcher.lastStartedFile.clear();
    }
    platform::Services services() {
        platform::Services s = env.services();
        s.launcher = &launcher;
        return s;
    }
    ui::UiServices ui() {
        ui::UiServices u;
        u.messageBox = &box;
        return u;
    }
};

// One world per process, made ready for each input (building the machine
// anew per input costs far more than the run itself) and emptied after it:
// a run must free what it allocated, or the fuzzer takes it for a leak and
// runs the input again under the leak checker.
class FreshWorld {
public:
    explicit FreshWorld(FuzzInput& in) : w_(shared()) { w_.reset(in); }
    ~FreshWorld() { w_.reset(idle_); }
    FreshWorld(const FreshWorld&) = delete;
    FreshWorld& operator=(const FreshWorld&) = delete;
    operator World&() { return w_; }

private:
    static World& shared() {
        static World* const w = new World();
        return *w;
    }
    FuzzInput idle_{nullptr, nullptr, false};
    World& w_;
};

// ---- the registry ---------------------------------------------------------

// Numbers that sit on the edges of what the windows accept.
constexpr std::int64_t kInteresting[] = {0,      1,      2,      3,     4,          5,           6,
                                         7,      8,      9,      31,    32,         63,          64,
                                         127,    128,    255,    256,   -1,         -2,          32767,
                                         32768,  -32768, -32769, 65535, 65536,      48000,       44100,
                                         32000,  541200, 541296, 4210943, 20988159, 2147483647, -2147483647 - 1};

inline const char* const kTexts[] = {"au30tray.exe",
                                     "C:\\WINDOWS\\au30tray.exe",
                                     "Philips DSS330",
                                     "Sonigistix Monsoon MM-700",
                                     "Yamaha YSTM100",
                                     "Altec Lansing ADA880",
                                     "altec lansing ada880",
                                     "0123456A",
                                     "",
                                     " ",
                                     "1 ",
                                     " 1",
                                     "+1",
                                     "-0",
                                     "0x1",
                                     "1.0",
                                     "99999999999999999999",
                                     "-2147483649",
                                     "C:\\AC97Mix\\AC97Mixer.exe",
                                     "wmplayer.exe /Play",
                                     "\"C:\\Program Files\\Windows Media Player\\wmplayer.exe\" /prefetch:1"};

// Types the registry can hold, the two the program reads and the rest.
constexpr platform::ValueType kOddTypes[] = {platform::ValueType(0), platform::ValueType(2), platform::ValueType(3),
                                             platform::ValueType(5), platform::ValueType(6), platform::ValueType(7),
                                             platform::ValueType(8), platform::ValueType(9), platform::ValueType(10),
                                             platform::ValueType(11), platform::ValueType(0x7FFFFFFF),
                                             platform::ValueType(0xFFFFFFFF)};

inline std::vector<std::uint8_t> dwordBytes(std::uint32_t v) {
    const auto b = platform::dwordBytes(v);
    return {b.begin(), b.end()};
}
inline std::vector<std::uint8_t> textBytes(const std::string& t) { return {t.begin(), t.end()}; }

inline platform::RegValueData dwordValue(std::int64_t v) {
    return {platform::ValueType::Dword, dwordBytes(static_cast<std::uint32_t>(v))};
}
inline platform::RegValueData textValue(const std::string& t) { return {platform::ValueType::Text, textBytes(t)}; }

// The index of a catalogue entry in settings::all().
inline std::size_t indexOf(const settings::Setting& s) {
    return static_cast<std::size_t>(&s - settings::all().data());
}

// What a working driver installation holds for a setting.
inline std::optional<platform::RegValueData> makeOrdinaryValue(const settings::Setting& s) {
    using namespace settings;
    if (&s == &AC97MixerLocation() || &s == &ControlPanelPageConfig()) return std::nullopt;
    if (&s == &AU30TRAY()) return textValue("au30tray.exe");
    if (&s == &MediaPlayerProg()) return textValue("wmplayer.exe /Play");
    if (&s == &CurrSpeakerComp()) return textValue("Philips DSS330");
    if (&s == &CoefSet0()) return platform::RegValueData{platform::ValueType::Binary, std::vector<std::uint8_t>(248, 0)};
    if (&s == &SplashScreen() || &s == &SplashAudio() || &s == &WpcrsetRunSwitch() || &s == &RegCnt()) return dwordValue(1);
    if (&s == &RegEntry(0)) return dwordValue(0x004040FF);
    for (int i = 1; i < 16; ++i)
        if (&s == &RegEntry(i)) return std::nullopt;
    for (int n = 1; n <= 4; ++n)
        if (&s == &SpdifCard(n)) return std::nullopt;
    if (s.reset) return dwordValue(*s.reset);
    return dwordValue(s.created.value_or(0));
}

// The same, made once per process.
inline const std::optional<platform::RegValueData>& ordinaryValue(const settings::Setting& s) {
    static const auto table = [] {
        std::array<std::optional<platform::RegValueData>, settings::kSettingCount> t;
        for (std::size_t i = 0; i < t.size(); ++i) t[i] = makeOrdinaryValue(settings::all()[i]);
        return t;
    }();
    return table[indexOf(s)];
}

// A stored value that is not the ordinary one, as the input describes it,
// or nothing for a missing one.
inline std::optional<platform::RegValueData> oddValue(FuzzInput& in, const settings::Setting* s) {
    using platform::RegValueData;
    const std::uint8_t kind = in.byte() % 13;
    const std::int64_t n = in.choose(kInteresting);
    switch (kind) {
    case 0: return std::nullopt;
    case 1:
    case 2: return dwordValue(n);
    case 3: return RegValueData{platform::ValueType::Dword, in.bytes(4)};
    case 4:
    case 5: return textValue(std::to_string(n));
    case 6: {  // as other programs store texts: with the terminating NUL
        auto b = textBytes(std::to_string(n));
        b.push_back(0);
        return RegValueData{platform::ValueType::Text, b};
    }
    case 7: return textValue(in.choose(kTexts));
    case 8: return RegValueData{platform::ValueType::Text, in.bytes(in.byte())};
    case 9: {  // a number of the wrong width
        std::size_t len = in.byte() % 9;
        if (len == 4) len = 8;
        return RegValueData{platform::ValueType::Dword, in.bytes(len)};
    }
    case 10: {
        const platform::ValueType type = in.flag() ? platform::ValueType(in.u32()) : in.choose(kOddTypes);
        return RegValueData{type, in.bytes(in.pick(320))};
    }
    case 11:  // looks like a number, in a type the program does not read
        return RegValueData{in.flag() ? platform::ValueType::ExpandText : platform::ValueType::MultiText,
                            textBytes(std::to_string(n) + std::string(2, '\0'))};
    default: {  // next to the ordinary value
        const platform::RegValueData* v = s && ordinaryValue(*s) ? &*ordinaryValue(*s) : nullptr;
        std::int64_t base = 0;
        if (v && v->type == platform::ValueType::Dword && v->data.size() == 4)
            base = static_cast<std::int32_t>(platform::dwordFromBytes(v->data.data()));
        return dwordValue(base + (in.flag() ? 1 : -1));
    }
    }
}

// Every key the catalogue names, once, in catalogue order.
inline const std::vector<std::string>& catalogueKeys() {
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> out;
        std::set<std::string> seen;
        for (const settings::Setting& s : settings::all())
            if (seen.insert(s.key).second) out.push_back(s.key);
        return out;
    }();
    return keys;
}

inline std::size_t keyIndexOf(std::string_view path) {
    const auto& keys = catalogueKeys();
    for (std::size_t i = 0; i < keys.size(); ++i)
        if (keys[i] == path) return i;
    return keys.size();
}

// Names no catalogue entry has; the program must leave them alone.
inline const char* const kStrangerNames[] = {"Reg16", "RegXX", "", "Start2", "AC97PCMOutVol2", "Version", "1 "};

inline std::string lowered(std::string p) {
    for (char& c : p)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return p;
}

inline std::string upper(std::string p) {
    for (char& c : p)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return p;
}

// The machine: a working XP installation of the driver, then the input's
// edits to it, each a few bytes, so any one value, key, file or version can
// be made odd by a short input. It holds only what the edits changed; the
// ordinary installation is made once per process.
struct Machine {
    enum class KeyState { Present, Missing, Denied };
    enum class Spelling { AsCatalogued, Upper, Lower };
    struct Key {
        Spelling spelling = Spelling::AsCatalogued;
        KeyState state = KeyState::Present;
        std::vector<std::pair<const char*, platform::RegValueData>> strangers;
    };
    // Every catalogue key, by its path.
    struct Keys {
        std::array<Key, 16> byIndex;
        Key& operator[](std::string_view path) { return byIndex[keyIndexOf(path)]; }
        const Key& at(std::string_view path) const { return byIndex[keyIndexOf(path)]; }
    };
    // Every catalogue value: the ordinary one until an edit sets it.
    class Values {
    public:
        std::optional<platform::RegValueData>& operator[](const settings::Setting* s) {
            Slot& slot = slots_[indexOf(*s)];
            if (!slot.edited) slot = {true, ordinaryValue(*s)};
            return slot.value;
        }
        const std::optional<platform::RegValueData>& at(const settings::Setting& s) const {
            const Slot& slot = slots_[indexOf(s)];
            return slot.edited ? slot.value : ordinaryValue(s);
        }

    private:
        struct Slot {
            bool edited = false;
            std::optional<platform::RegValueData> value;
        };
        std::array<Slot, settings::kSettingCount> slots_;
    };
    Keys keys;
    Values values;
    bool failWrites = false;

    enum class Os { XP, W2000, W98, Vista, QueryFails, Other } os = Os::XP;
    platform::OsVersionData other;
    std::vector<std::uint8_t> servicePack;
    static constexpr const char* kFiles[] = {"a3d.dll", "a3dapi.dll", "drivers\\adm8830.sys", "drivers\\admaud30.sys"};
    std::array<std::optional<platform::FileVersionWords>, 4> versions{
        {platform::FileVersionWords{0x0005000C, 0x00010A00}, platform::FileVersionWords{0x0005000C, 0x00010A00},
         platform::FileVersionWords{0x0005000C, 0x00010A00}, std::nullopt}};
    std::string programFolder = "C:\\Program Files\\Quillmere", systemFolder = "C:\\WINDOWS\\system32";
    // The driver file's length at its three paths (system folder, below the
    // program's folder, the fixed one); nothing for not found.
    enum class At { Found, BadName, NotFound };
    struct Length { At at = At::NotFound; std::uint64_t bytes = 0; };
    Length lengths[3] = {{At::Found, 747392}, {}, {}};

    // A key's path as this machine spells it.
    static const std::string& spelled(std::size_t key, Spelling how) {
        static const auto table = [] {
            std::vector<std::array<std::string, 3>> t;
            for (const std::string& k : catalogueKeys()) t.push_back({k, upper(k), lowered(k)});
            return t;
        }();
        return table[key][static_cast<int>(how)];
    }

    void edit(FuzzInput& in);
    void apply(qmtest::TestEnv& env) const;
};

inline void Machine::edit(FuzzInput& in) {
    static const platform::FileVersionWords kVersions[] = {
        {0x0005000C, 0x00010A00},  // 5.12.1.2560
        {0x0005000C, 0x000109FF},  // 5.12.1.2559
        {0x0005000A, 0x09C40031},  // 5.10.2500.49
        {0x00050000, 0x08790001},  // 5.0.2169.1
        {0x00500000, 0x00000003},  // 80.0.0.3
    };
    static const char* const kProgramFolders[] = {"C:\\WINDOWS", "", "C:\\a|b", "C:\\Program Files\\Quillmere"};
    static const char* const kSystemFolders[] = {"C:\\WINNT\\system32", "", "C:\\WINDOWS\\system32"};
    static const std::uint64_t kLengths[] = {747392, 702080, 0, 0xFFFFFFFFull, 0x100000000ull};

    const std::uint8_t op = in.byte() % 16;
    if (op < 8) {
        const settings::Setting* s = &settings::all()[in.pick(settings::all().size())];
        values[s] = oddValue(in, s);
        return;
    }
    switch (op) {
    case 8: {
        Key& k = keys.byIndex[in.pick(catalogueKeys().size())];
        switch (in.byte() % 4) {
        case 0: k.state = KeyState::Missing; break;
        case 1: k.state = KeyState::Denied; break;
        case 2: k.spelling = Spelling::Upper; break;
        default: k.spelling = Spelling::Lower; break;
        }
        break;
    }
    case 9: {
        Key& k = keys.byIndex[in.pick(catalogueKeys().size())];
        const char* name = in.choose(kStrangerNames);
        if (auto v = oddValue(in, nullptr)) k.strangers.emplace_back(name, *v);
        break;
    }
    case 10:
        os = static_cast<Os>(1 + in.pick(5));
        if (os == Os::Other) {
            other.platformId = in.byte();
            other.major = in.byte();
            other.minor = in.byte();
            other.build = in.u32();
        }
        break;
    case 11: servicePack = in.bytes(128); break;
    case 12: {
        auto& v = versions[in.pick(std::size(kFiles))];
        switch (in.byte() % 3) {
        case 0: v = std::nullopt; break;
        case 1: v = in.choose(kVersions); break;
        default: v = platform::FileVersionWords{in.u32(), in.u32()}; break;
        }
        break;
    }
    case 13:
        if (in.flag()) systemFolder = in.choose(kSystemFolders);
        else programFolder = in.rarely(3) ? in.text(in.byte() % 40) : std::string(in.choose(kProgramFolders));
        break;
    case 14: {
        Length& l = lengths[in.pick(3)];
        switch (in.byte() % 4) {
        case 0: l = {At::NotFound, 0}; break;
        case 1: l = {At::BadName, 0}; break;
        case 2: l = {At::Found, in.u32()}; break;
        default: l = {At::Found, in.choose(kLengths)}; break;
        }
        break;
    }
    default: failWrites = true; break;  // a hive that refuses every write
    }
}

inline void Machine::apply(qmtest::TestEnv& env) const {
    // The catalogue's entries by key, in catalogue order, made once.
    static const auto byKey = [] {
        std::vector<std::vector<const settings::Setting*>> t(catalogueKeys().size());
        for (const settings::Setting& s : settings::all()) t[keyIndexOf(s.key)].push_back(&s);
        return t;
    }();
    platform::MemoryRegistry& mem = env.mem;
    const std::size_t nKeys = catalogueKeys().size();
    for (std::size_t i = 0; i < nKeys; ++i) {
        const Key& k = keys.byIndex[i];
        if (k.state == KeyState::Missing) continue;
        const std::string& path = spelled(i, k.spelling);
        mem.addKey(path);
        for (const settings::Setting* s : byKey[i])
            if (const auto& v = values.at(*s)) mem.setRaw(path, s->name, v->type, v->data);
        for (const auto& [name, v] : k.strangers) mem.setRaw(path, name, v.type, v.data);
    }
    // A missing key may come back as the parent of a present one; it stays
    // empty then, as after an uninstall that left the sub-key.
    for (std::size_t i = 0; i < nKeys; ++i)
        if (keys.byIndex[i].state == KeyState::Denied) mem.denyAccess(spelled(i, keys.byIndex[i].spelling));
    mem.failWrites = failWrites;

    switch (os) {
    case Os::XP: env.version.setXP(); break;
    case Os::W2000: env.version.set2000(); break;
    case Os::W98: env.version.set(1, 4, 10, 0x040A0AAE); break;
    case Os::Vista: env.version.set(2, 6, 0, 6000); break;
    case Os::QueryFails: env.version.ok = false; break;
    case Os::Other: env.version.d = other; break;
    }
    std::copy(servicePack.begin(), servicePack.end(), env.version.d.servicePack);
    for (std::size_t i = 0; i < versions.size(); ++i)
        if (versions[i]) env.fileVersions.files[kFiles[i]] = *versions[i];
    env.files.folder = programFolder;
    env.files.system = systemFolder;
    const std::string paths[] = {systemFolder + "\\drivers\\adm8830.sys",
                                 programFolder + "\\system32\\drivers\\adm8830.sys",
                                 "c:\\windows\\system32\\drivers\\adm8830.sys"};
    for (int i = 0; i < 3; ++i) {
        if (lengths[i].at == At::Found) env.files.lengths[paths[i]] = lengths[i].bytes;
        if (lengths[i].at == At::BadName) env.files.badNames.push_back(paths[i]);
    }
}

// The machine of this input: up to 96 edits of the ordinary one.
inline void buildMachine(FuzzInput& in, qmtest::TestEnv& env) {
    Machine m;
    for (int i = 0; i < 96 && !in.empty(); ++i) m.edit(in);
    m.apply(env);
}

}  // namespace qmfuzz
