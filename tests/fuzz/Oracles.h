// What the program may do to the registry. Two kinds of rule:
//  - every write, deletion and created key, at any time: the value is in the
//    catalogue, has the catalogue's type, and holds something its setting
//    can mean; only the settings that are deleted by design are deleted;
//  - each window's load: stored values change only where the window's rules
//    create or rewrite them (the tables below), everything else stays byte
//    for byte as it was.
// Each check returns "" when all is well, else what went wrong.
#pragma once
#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "equalizer/CoefficientSets.h"
#include "equalizer/frmEQ.h"
#include "main/MainBindings.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/mdlRegistry.h"
#include "settings/Catalogue.h"
#include "tests/common/CoefText.h"
#include "tests/fuzz/World.h"
#include "wpcrset/RegisterTable.h"
#include "wpcrset/frmWPCRSET.h"

namespace qmfuzz {

using platform::RegValueData;
using settings::Setting;

// ---- the registry at one moment -------------------------------------------

struct Stored {
    std::optional<RegValueData> raw;  // what is there, readable or not
    platform::SettingValue reading;   // what the registry procedures make of it
    // What `reading` was read from: it is read again only when that changes.
    bool read = false, keyOpened = false;
};

struct State {
    std::array<Stored, settings::kSettingCount> values;  // in catalogue order
    std::vector<platform::FlatValue> snapshot;           // the first snapshotSize, sorted
    std::size_t snapshotSize = 0;
    std::size_t logSize = 0;
    std::size_t ops = 0;  // operation count after the capture itself

    const Stored& at(const Setting& s) const { return values[indexOf(s)]; }
};

// Each entry's key and name as strings, made once: the registry procedures take strings.
inline const std::array<std::pair<std::string, std::string>, settings::kSettingCount>& settingStrings() {
    static const auto table = [] {
        std::array<std::pair<std::string, std::string>, settings::kSettingCount> t;
        for (std::size_t i = 0; i < t.size(); ++i) t[i] = {settings::all()[i].key, settings::all()[i].name};
        return t;
    }();
    return table;
}

// The registry as it stands, into `st` (its memory reused).
inline void captureInto(State& st, platform::MemoryRegistry& mem) {
    platform::mdlRegistry reader(mem);
    const auto& names = settingStrings();
    for (std::size_t i = 0; i < settings::kSettingCount; ++i) {
        Stored& d = st.values[i];
        const RegValueData* v = mem.find(names[i].first, names[i].second);
        const bool opens = mem.canOpen(names[i].first);
        const bool same = d.read && d.keyOpened == opens &&
                          (v ? d.raw && d.raw->type == v->type && d.raw->data == v->data : !d.raw);
        if (same) continue;
        if (v) {
            if (!d.raw) d.raw.emplace();
            d.raw->type = v->type;
            d.raw->data.assign(v->data.begin(), v->data.end());
        } else {
            d.raw.reset();
        }
        d.reading = reader.FetchRegSetting(platform::Root::LocalMachine, names[i].first.c_str(), names[i].second.c_str());
        d.read = true;
        d.keyOpened = opens;
    }
    st.snapshotSize = mem.snapshotInto(st.snapshot);
    st.logSize = mem.log().size();
    st.ops = mem.operationCount();
}

inline State capture(platform::MemoryRegistry& mem) {
    State st;
    captureInto(st, mem);
    return st;
}

inline std::optional<std::int32_t> dwordOf(const RegValueData& v) {
    if (v.type != platform::ValueType::Dword || v.data.size() != 4) return std::nullopt;
    return static_cast<std::int32_t>(platform::dwordFromBytes(v.data.data()));
}
inline std::optional<std::int32_t> dwordOf(const std::optional<RegValueData>& v) {
    if (!v) return std::nullopt;
    return dwordOf(*v);
}

inline std::string describe(const std::optional<RegValueData>& v) {
    if (!v) return "(absent)";
    if (auto n = dwordOf(v)) return "DWORD " + std::to_string(*n);
    std::string out = "type " + std::to_string(std::uint32_t(v->type)) + " [";
    for (std::size_t i = 0; i < v->data.size() && i < 40; ++i) {
        const unsigned char c = v->data[i];
        static const char kHex[] = "0123456789abcdef";
        out += (c >= 32 && c < 127) ? std::string(1, static_cast<char>(c))
                                    : std::string("\\x") + kHex[c >> 4] + kHex[c & 15];
    }
    return out + (v->data.size() > 40 ? "...]" : "]");
}

// ---- what each setting can hold -------------------------------------------

inline std::vector<std::uint8_t> hexBytes(const char* text) {
    std::vector<std::uint8_t> out;
    auto digit = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
    for (const char* p = text; p[0] && p[1]; p += (p[2] == ',' ? 3 : 2))
        out.push_back(static_cast<std::uint8_t>(digit(p[0]) * 16 + digit(p[1])));
    return out;
}

// The ten sets' bytes, made once.
inline const std::vector<std::vector<std::uint8_t>>& allCoefSets() {
    static const auto sets = [] {
        std::vector<std::vector<std::uint8_t>> v;
        for (auto c : equalizer::kAllCurves) v.push_back(hexBytes(equalizer::hexText(c)));
        for (auto m : equalizer::kAllSpeakers) v.push_back(hexBytes(equalizer::hexText(m)));
        return v;
    }();
    return sets;
}
inline const std::vector<std::uint8_t>& coefSet(equalizer::EqCurve c) {
    std::size_t i = 0;
    while (equalizer::kAllCurves[i] != c) ++i;
    return allCoefSets()[i];
}
inline const std::vector<std::uint8_t>& coefSet(equalizer::SpeakerModel m) {
    std::size_t i = 0;
    while (equalizer::kAllSpeakers[i] != m) ++i;
    return allCoefSets()[std::size(equalizer::kAllCurves) + i];
}

struct Domain {
    std::set<std::int32_t> numbers;       // for REG_DWORD settings
    std::set<std::string> texts;          // for REG_SZ settings with fixed texts
    bool anyText = false;                 // a REG_SZ the user chose (a path)
    bool binarySets = false;              // the ten coefficient sets
    bool deletable = false;               // the program deletes it on purpose
};

inline std::set<std::int32_t> range(int lo, int hi) {
    std::set<std::int32_t> s;
    for (int i = lo; i <= hi; ++i) s.insert(i);
    return s;
}

inline const Domain& domainOf(const Setting& s) {
    using namespace settings;
    static const std::map<const Setting*, Domain> table = [] {
        std::map<const Setting*, Domain> t;
        // The main window's controls store what they can hold; a check box's
        // stored 2 (grayed) is written back as 2.
        const auto box = range(0, 2);
        for (const mainwin::BoxBinding& b : mainwin::kBoxes) t[&b.setting()].numbers = box;
        for (const mainwin::RangeBinding& r : mainwin::kRanges) t[&r.setting()].numbers = range(0, r.max);
        for (const mainwin::ListBinding& l : mainwin::kLists) t[&l.setting()].numbers = range(0, int(l.entries) - 1);
        for (const mainwin::WavetableMode& m : mainwin::kWavetableModes)
            for (std::size_t i = 0; i < std::size(mainwin::kWavetableWrites); ++i)
                t[&mainwin::kWavetableWrites[i]()].numbers.insert(m.writes[i]);
        for (const char* rate : mainwin::kSpdifRates) t[&mainwin::kSpdifRateSetting()].numbers.insert(std::stoi(rate));
        for (int n = 1; n <= int(std::size(mainwin::kSpdifCards)); ++n)
            t[&SpdifCard(n)].numbers = {mainwin::kSpdifCards[n - 1]};
        t[&AU30TRAY()].texts = {mainwin::kTrayCommand};
        t[&AU30TRAY()].deletable = true;

        t[&QuadCodecOutputModeState()].numbers = {0, 1};
        t[&AnalogEQSrcLine()].numbers = range(0, equalizer::kAnalogLineCount - 1);
        t[&AnalogEQEnableState()].numbers = {0, 1};
        t[&AC97MixerLocation()].anyText = true;
        t[&AC97MixerLocation()].deletable = true;
        t[&VIAFix()].numbers = {0, 1};
        t[&VIAAGP()].numbers = {0, 1};
        t[&SetGPIO0InQuad()].numbers = box;
        t[&SupportAnalogEQ()].numbers = {0, 1};
        t[&ControlPanelPageConfig()].texts = {equalizer::kPageConfig};
        t[&CoefSet0()].binarySets = true;
        t[&EqBypass()].numbers = {0, 1};
        t[&ActiveCoefSet()].numbers = {0};
        t[&PresetNumber()].numbers = range(0, equalizer::kPresetSpeakerComp);
        for (auto m : equalizer::kAllSpeakers) t[&CurrSpeakerComp()].texts.insert(equalizer::name(m));
        t[&MediaPlayerProg()];  // read only
        for (const wpcrset::OptionBinding* o : {&wpcrset::kRunSwitch, &wpcrset::kStartType})
            for (const char* v : o->values) t[&o->setting()].numbers.insert(std::stoi(v));
        t[&RegCnt()].numbers = range(0, 2);
        for (int chipset = 0; chipset < int(wpcrset::kChipsets.size()); ++chipset)
            for (int slot = 0; slot < int(wpcrset::kSlots.size()); ++slot)
                if (wpcrset::Entry e; wpcrset::slotEntry(chipset, slot, e)) t[&RegEntry(0)].numbers.insert(std::int32_t(e.packed()));
        t[&RegEntry(1)].numbers = {std::int32_t(wpcrset::kViaBridge.packed()), std::int32_t(wpcrset::kViaBridgeFastAgp.packed())};
        for (int i = 0; i < 16; ++i) t[&RegEntry(i)].deletable = true;
        return t;
    }();
    static const Domain nothing;
    auto it = table.find(&s);
    return it == table.end() ? nothing : it->second;
}

// settings::lookup, by a table made once: the checks look up every write.
inline const Setting* lookupSetting(std::string_view path, std::string_view name) {
    static const auto byKey = [] {
        std::vector<std::pair<std::string_view, std::vector<const Setting*>>> t;
        for (const Setting& s : settings::all()) {
            auto it = std::find_if(t.begin(), t.end(), [&](const auto& k) { return k.first == s.key; });
            if (it == t.end()) it = t.insert(t.end(), {std::string_view(s.key), {}});
            it->second.push_back(&s);
        }
        return t;
    }();
    const auto same = [](std::string_view a, std::string_view b) {
        if (a.size() != b.size()) return false;
        for (std::size_t i = 0; i < a.size(); ++i) {
            char x = a[i], y = b[i];
            if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
            if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
            if (x != y) return false;
        }
        return true;
    };
    for (const auto& [key, entries] : byKey) {
        if (!same(key, path)) continue;
        for (const Setting* s : entries)
            if (same(s->name, name)) return s;
    }
    return nullptr;
}

// What the last successful start was, for the one value that must name it.
struct WriteContext {
    const std::string* lastStartedFile = nullptr;
};

inline std::string badWrite(const Setting& s, const RegValueData& v, const WriteContext& ctx) {
    const auto where = [&] { return std::string(s.key) + "\\" + s.name + " = " + describe(v); };
    if (v.type != s.type) return "written with type " + std::to_string(std::uint32_t(v.type)) + ": " + where();
    const Domain& d = domainOf(s);
    if (s.type == platform::ValueType::Dword) {
        auto n = dwordOf(v);
        if (!n) return "a REG_DWORD of " + std::to_string(v.data.size()) + " bytes: " + where();
        if (!d.numbers.count(*n)) return "a number the setting cannot mean: " + where();
        return "";
    }
    if (s.type == platform::ValueType::Text) {
        const std::string_view text(reinterpret_cast<const char*>(v.data.data()), v.data.size());
        if (d.texts.count(std::string(text))) return "";
        if (d.anyText) {
            if (text.find_first_not_of(" \t") == std::string_view::npos) return "a blank path stored: " + where();
            if (ctx.lastStartedFile && text != *ctx.lastStartedFile)
                return "a path stored that was not the one started (" +
                       (ctx.lastStartedFile ? *ctx.lastStartedFile : std::string()) + "): " + where();
            return "";
        }
        return "a text the setting cannot hold: " + where();
    }
    if (d.binarySets) {
        for (const auto& set : allCoefSets())
            if (v.data == set) return "";
        return "a coefficient set that is none of the ten: " + where();
    }
    return "a value the program never writes: " + where();
}

// Every write, deletion and created key since log entry `from`.
inline std::string checkWrites(const platform::MemoryRegistry& mem, std::size_t from, const WriteContext& ctx) {
    using platform::RegLogEntry;
    const auto& log = mem.log();
    for (std::size_t i = from; i < log.size(); ++i) {
        const RegLogEntry& e = log[i];
        if (e.op == RegLogEntry::CreateKey) {
            const std::string p = lowered(e.path);
            bool ok = false;
            for (const settings::Setting& s : settings::all()) {
                if (!s.keyCreated) continue;
                const std::string full = lowered(s.key);
                ok = ok || full == p || full.compare(0, p.size() + 1, p + "\\") == 0;
            }
            if (!ok) return "a key created that the program never creates: " + e.path;
            continue;
        }
        const Setting* s = lookupSetting(e.path, e.name);
        if (!s) return "a value outside the catalogue " + std::string(e.op == RegLogEntry::Set ? "written" : "deleted") +
                       ": " + e.path + "\\" + e.name;
        if (e.op == RegLogEntry::Delete) {
            if (!domainOf(*s).deletable) return "a value deleted that is never deleted: " + e.path + "\\" + e.name;
            continue;
        }
        std::string bad = badWrite(*s, e.value, ctx);
        if (!bad.empty()) return bad;
    }
    if (mem.openHandles() != 0) return std::to_string(mem.openHandles()) + " registry key(s) left open";
    return "";
}

// ---- what a load may change -----------------------------------------------

// May `after` replace `before` for this setting? Judged with the whole
// state before the load, since one value's rule may depend on another's.
using Allowed = std::function<bool(const Stored& before, const std::optional<RegValueData>& after, const State& all)>;

struct LoadRules {
    const char* window;
    std::map<const Setting*, std::vector<Allowed>> rules;
    std::vector<const char*> keysCreated;  // keys the load may create
    bool touchesNothing = false;           // not even a read
    const char* shows = nullptr;           // the window whose controls must show what was stored
    bool readsTray = true;                 // frmMain: whether this load reads the tray command
};

// The number a setting's stored value reads as; empty reads as `empty`.
inline std::optional<std::int32_t> numberRead(const Stored& s, std::optional<std::int32_t> empty = std::nullopt) {
    if (s.reading.isEmpty()) return empty;
    return s.reading.toInt32();
}

// Writing back what was read: the same number (a stored text "1" may come
// back as the number 1), or for a text setting the same text.
inline Allowed writtenBack(std::optional<std::int32_t> emptyReadsAs = std::nullopt) {
    return [emptyReadsAs](const Stored& b, const std::optional<RegValueData>& a, const State&) {
        if (!a) return false;
        if (a->type == platform::ValueType::Text)
            return !b.reading.isEmpty() && std::string(a->data.begin(), a->data.end()) == b.reading.toText();
        auto n = dwordOf(a);
        auto r = numberRead(b, emptyReadsAs);
        return n && r && *n == *r;
    };
}

// Created with the catalogue's value where there was no value at all; a
// value the program cannot read is still the user's and must stay.
inline Allowed createdWhenAbsent(const settings::Setting& s) {
    return [v = *s.created](const Stored& b, const std::optional<RegValueData>& a, const State&) {
        return !b.raw && dwordOf(a) == v;
    };
}

inline Allowed becomes(std::int32_t v, std::function<bool(const State&)> when) {
    return [v, when](const Stored&, const std::optional<RegValueData>& a, const State& all) {
        return dwordOf(a) == v && when(all);
    };
}

inline Allowed becomesText(std::string text, std::function<bool(const State&)> when) {
    return [text, when](const Stored&, const std::optional<RegValueData>& a, const State& all) {
        return a && a->type == platform::ValueType::Text && std::string(a->data.begin(), a->data.end()) == text && when(all);
    };
}

inline Allowed becomesBinary(std::function<std::optional<std::vector<std::uint8_t>>(const State&)> expected) {
    return [expected](const Stored&, const std::optional<RegValueData>& a, const State& all) {
        auto e = expected(all);
        return a && e && a->type == platform::ValueType::Binary && a->data == *e;
    };
}

inline std::string checkLoad(const LoadRules& r, const State& before, const State& after) {
    // Values the rules do not name must not change at all, catalogued or not:
    // the two sorted snapshots walked side by side.
    std::size_t i = 0, j = 0;
    while (i < before.snapshotSize || j < after.snapshotSize) {
        const platform::FlatValue* b = i < before.snapshotSize ? &before.snapshot[i] : nullptr;
        const platform::FlatValue* a = j < after.snapshotSize ? &after.snapshot[j] : nullptr;
        if (b && a && b->key == a->key) {
            ++i, ++j;
            if (b->value == a->value) continue;
        } else if (b && (!a || b->key < a->key)) {
            ++i, a = nullptr;
        } else {
            ++j, b = nullptr;
        }
        const std::string& k = b ? b->key : a->key;
        const std::optional<RegValueData> bv = b ? std::optional(b->value) : std::nullopt;
        const std::optional<RegValueData> av = a ? std::optional(a->value) : std::nullopt;
        const std::size_t bar = k.find('|');
        const std::string path = k.substr(0, bar), name = k.substr(bar + 1);
        const Setting* s = lookupSetting(path, name);
        const auto what = [&] {
            return std::string(r.window) + " load changed " + path + "\\" + name + " from " + describe(bv) + " to " +
                   describe(av);
        };
        if (!s) return what() + " (not a catalogue value)";
        auto rule = r.rules.find(s);
        if (rule == r.rules.end()) return what() + " (the load has no rule for it)";
        bool ok = false;
        for (const Allowed& allowed : rule->second) ok = ok || allowed(before.at(*s), av, before);
        if (!ok) return what();
    }
    return "";
}

inline std::string checkKeysCreated(const LoadRules& r, const platform::MemoryRegistry& mem, std::size_t from) {
    for (std::size_t i = from; i < mem.log().size(); ++i) {
        const auto& e = mem.log()[i];
        if (e.op != platform::RegLogEntry::CreateKey) continue;
        bool ok = false;
        for (const char* k : r.keysCreated) {
            const std::string full = lowered(k), p = lowered(e.path);
            ok = ok || full == p || full.compare(0, p.size() + 1, p + "\\") == 0;
        }
        if (!ok) return std::string(r.window) + " load created the key " + e.path;
    }
    return "";
}

// ---- the windows' load rules -----------------------------------------------

// frmMain: the loading sequence writes back what it read, creates the three
// missing values, rewrites the wavetable companions of the stored mode, and
// (unless run by the override, which does not read it) the tray command.
// A load that writes back what it read, and creates the value where the
// catalogue says it is created.
inline void writesBack(LoadRules& r, const Setting& s) {
    r.rules[&s] = {writtenBack()};
    if (s.created) r.rules[&s].push_back(createdWhenAbsent(s));
}

inline LoadRules mainLoadRules(bool readsTray) {
    using namespace settings;
    LoadRules r{readsTray ? "frmMain" : "frmMain (override)", {}, {key::A3D}, false, "frmMain", readsTray};
    for (const mainwin::BoxBinding& b : mainwin::kBoxes) writesBack(r, b.setting());
    for (const mainwin::RangeBinding& b : mainwin::kRanges) writesBack(r, b.setting());
    for (const mainwin::ListBinding& l : mainwin::kLists) writesBack(r, l.setting());

    // The stored entry's companions, written when it is selected.
    for (std::size_t i = 0; i < std::size(mainwin::kWavetableWrites); ++i) {
        if (i == mainwin::kWavetableIndexWrite) continue;
        for (int mode = 0; mode < int(std::size(mainwin::kWavetableModes)); ++mode)
            r.rules[&mainwin::kWavetableWrites[i]()].push_back(
                becomes(mainwin::kWavetableModes[mode].writes[i], [mode](const State& st) {
                    return numberRead(st.at(mainwin::kWavetableList.setting())) == mode;
                }));
    }
    if (readsTray)
        r.rules[&AU30TRAY()] = {becomesText(mainwin::kTrayCommand, [](const State& st) { return st.at(AU30TRAY()).raw.has_value(); })};
    return r;
}

// frmEQ: the stored switch and preset are selected, which installs the
// preset's set again; the analog list writes its three values.
inline LoadRules eqLoadRules() {
    using namespace settings;
    LoadRules r{"frmEQ", {}, {key::Equalizer}, false, "frmEQ"};
    // A missing preset number reads as 0 ("Rock"), and so on.
    auto preset = [](const State& st) { return numberRead(st.at(PresetNumber()), 0); };
    auto installsCurve = [preset](const State& st) {
        auto p = preset(st);
        return p && *p >= 0 && *p < equalizer::kPresetUser;
    };
    auto speakerModel = [](const State& st) -> std::optional<equalizer::SpeakerModel> {
        const std::string text = st.at(CurrSpeakerComp()).reading.toText();
        for (auto m : equalizer::kAllSpeakers)
            if (platform::storedTextIs(text, equalizer::name(m))) return m;
        return std::nullopt;
    };
    auto isSpeakerPreset = [preset](const State& st) { return preset(st) == equalizer::kPresetSpeakerComp; };
    auto turnsOn = [installsCurve, isSpeakerPreset](const State& st) { return installsCurve(st) || isSpeakerPreset(st); };

    r.rules[&PresetNumber()] = {writtenBack(0)};
    r.rules[&EqBypass()] = {writtenBack(0), becomes(0, turnsOn)};
    r.rules[&ActiveCoefSet()] = {becomes(0, turnsOn)};
    r.rules[&ControlPanelPageConfig()] = {becomesText(equalizer::kPageConfig, isSpeakerPreset)};
    r.rules[&CurrSpeakerComp()] = {[isSpeakerPreset, speakerModel](const Stored& b, const std::optional<RegValueData>& a,
                                                                   const State& st) {
        // Chosen again, the model's name is written as the list has it.
        return isSpeakerPreset(st) && speakerModel(st) && a && a->type == platform::ValueType::Text &&
               std::string(a->data.begin(), a->data.end()) == equalizer::name(*speakerModel(st));
    }};
    r.rules[&CoefSet0()] = {becomesBinary([preset, installsCurve, isSpeakerPreset, speakerModel](const State& st)
                                              -> std::optional<std::vector<std::uint8_t>> {
        if (installsCurve(st)) return coefSet(equalizer::kPresetCurves[*preset(st)]);
        if (isSpeakerPreset(st) && speakerModel(st)) return coefSet(*speakerModel(st));
        return std::nullopt;
    })};
    // "None" is chosen when the analog equalizer is not in use, and writes
    // its three values even over a stored line.
    auto choosesNone = [](const State& st) {
        auto support = numberRead(st.at(SupportAnalogEQ()), 0);
        auto enable = numberRead(st.at(AnalogEQEnableState()), 0);
        return support == 0 || (support == 1 && enable != 1);
    };
    r.rules[&SupportAnalogEQ()] = {writtenBack(0), becomes(0, choosesNone)};
    r.rules[&AnalogEQSrcLine()] = {writtenBack(0), becomes(equalizer::kNoAnalogLine, choosesNone)};
    r.rules[&AnalogEQEnableState()] = {writtenBack(0), becomes(0, choosesNone)};
    return r;
}

// frmQuad: the share state is created when missing and written back.
inline LoadRules quadLoadRules() {
    LoadRules r{"frmQuad", {}, {}, false, "frmQuad"};
    writesBack(r, settings::SetGPIO0InQuad());
    return r;
}

// frmWPCRSET: the two VIA options are created when missing; the start
// values and the options are written back when their controls are set.
inline LoadRules wpcrsetLoadRules() {
    using namespace settings;
    LoadRules r{"frmWPCRSET", {}, {}, false, "frmWPCRSET"};
    for (const Setting* s : {&VIAFix(), &VIAAGP(), &wpcrset::kRunSwitch.setting(), &wpcrset::kStartType.setting()})
        writesBack(r, *s);
    return r;
}

// Windows whose opening changes nothing.
inline LoadRules unchangedLoadRules(const char* window) { return LoadRules{window, {}, {}, false}; }

// frmMain on a system it does not take for XP: nothing read or written.
inline LoadRules notXPLoadRules() { return LoadRules{"frmMain (not XP)", {}, {}, true}; }

}  // namespace qmfuzz
