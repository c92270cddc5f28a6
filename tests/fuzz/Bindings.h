// What the windows show and what they have stored must agree:
//  - write-through: after any action, each control whose state changed has
//    its setting stored as that state (where the key takes writes at all);
//  - after a load, each control shows the stored value it stands for, where
//    the control can hold it (else it keeps its first state).
// Each check returns "" when all is well, else what went wrong.
#pragma once
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "equalizer/CoefficientSets.h"
#include "main/MainBindings.h"
#include "equalizer/frmEQ.h"
#include "main/frmQuad.h"
#include "reset/ResetGroups.h"
#include "reset/frmReset.h"
#include "wpcrset/RegisterTable.h"
#include "wpcrset/frmWPCRSET.h"
#include "tests/fuzz/Oracles.h"
#include "ui/Form.h"

namespace qmfuzz {

// ---- control states ---------------------------------------------------------

inline int stateOf(const ui::Control& c) {
    switch (c.kind()) {
    case ui::Kind::CheckBox: return static_cast<const ui::CheckBox&>(c).value();
    case ui::Kind::Option: return static_cast<const ui::OptionButton&>(c).value() ? 1 : 0;
    case ui::Kind::ComboList: return static_cast<const ui::ComboList&>(c).listIndex();
    case ui::Kind::HScroll:
    case ui::Kind::Slider: return static_cast<const ui::RangeControl&>(c).value();
    case ui::Kind::TabStrip: return static_cast<const ui::TabStrip&>(c).currentTab();
    case ui::Kind::ListView: return static_cast<const ui::ListView&>(c).selectedItem();
    default: return 0;
    }
}

// Each control's state, in the window's control order.
using ControlStates = std::vector<std::pair<const ui::Control*, int>>;

inline void statesInto(const ui::Form& f, ControlStates& out) {
    out.clear();
    for (const ui::Control* c : f.controls()) out.emplace_back(c, stateOf(*c));
}

inline ControlStates statesOf(const ui::Form& f) {
    ControlStates out;
    statesInto(f, out);
    return out;
}

// ---- the registry after the action ----------------------------------------

class Stores {
public:
    explicit Stores(platform::MemoryRegistry& mem) : mem_(mem) {}

    // Whether writes into this key land: it is there, open to the program,
    // and the hive takes writes.
    bool writable(const char* key) { return !mem_.failWrites && mem_.canOpen(key); }
    bool deletable(const char* key) { return mem_.canOpen(key); }

    std::string number(const Setting& s, std::int32_t v, const std::string& why) {
        if (!writable(s.key)) return "";
        const RegValueData* raw = mem_.find(s.key, s.name);
        if (raw && dwordOf(*raw) == v) return "";
        return why + ": " + s.name + " holds " + describe(mem_.get(s.key, s.name)) + ", not " + std::to_string(v);
    }
    std::string text(const Setting& s, const std::string& t, const std::string& why) {
        if (!writable(s.key)) return "";
        const RegValueData* got = mem_.find(s.key, s.name);
        if (got && got->type == platform::ValueType::Text && std::string_view(reinterpret_cast<const char*>(got->data.data()), got->data.size()) == t) return "";
        return why + ": " + s.name + " holds " + describe(mem_.get(s.key, s.name)) + ", not \"" + t + "\"";
    }
    std::string binary(const Setting& s, const std::vector<std::uint8_t>& b, const std::string& why) {
        if (!writable(s.key)) return "";
        const RegValueData* got = mem_.find(s.key, s.name);
        if (got && got->type == platform::ValueType::Binary && got->data == b) return "";
        return why + ": " + s.name + " holds " + describe(mem_.get(s.key, s.name)) + ", not the expected set";
    }
    std::string absent(const Setting& s, const std::string& why) {
        if (!deletable(s.key) || !mem_.find(s.key, s.name)) return "";
        return why + ": " + s.name + " still holds " + describe(mem_.get(s.key, s.name));
    }

private:
    platform::MemoryRegistry& mem_;
};

// ---- write-through ------------------------------------------------------------

inline std::string mainWriteThrough(const ui::Control& c, int state, Stores& st) {
    using namespace mainwin;
    const std::string why = "frmMain." + c.name() + " became " + std::to_string(state);
    for (const BoxBinding& b : kBoxes)
        if (c.name() == b.control) return st.number(b.setting(), state, why);
    for (const RangeBinding& r : kRanges)
        if (c.name() == r.control) return st.number(r.setting(), state, why);
    if (c.name() == "chkTray")
        return state == 1 ? st.text(settings::AU30TRAY(), kTrayCommand, why) : st.absent(settings::AU30TRAY(), why);
    if (c.name() == kA3DTypeList.control && state >= 0) return st.number(kA3DTypeList.setting(), state, why);
    if (c.name() == kWavetableList.control && state >= 0 && state < int(kWavetableList.entries)) {
        std::string p;
        for (std::size_t i = 0; i < std::size(kWavetableWrites) && p.empty(); ++i)
            p = st.number(kWavetableWrites[i](), kWavetableModes[state].writes[i], why);
        return p;
    }
    if (c.name() == "optDigOut" && state == 1)
        return st.number(kSpdifRateSetting(), std::stoi(kSpdifRates[c.index()]), why);
    return "";
}

inline std::string eqWriteThrough(const ui::Control& c, int state, Stores& st) {
    using namespace settings;
    using namespace equalizer;
    const std::string why = "frmEQ." + c.name() + " became " + std::to_string(state);
    auto installed = [&](const std::vector<std::uint8_t>& set, bool turnsOn) {
        std::string p = st.binary(CoefSet0(), set, why);
        if (p.empty() && turnsOn) p = st.number(EqBypass(), 0, why);
        if (p.empty() && turnsOn) p = st.number(ActiveCoefSet(), 0, why);
        return p;
    };
    if (c.name() == "optEQ" && state == 1) return st.number(EqBypass(), c.index(), why);
    if (c.name() == "cboEQPreset" && state >= 0) {
        std::string p = st.number(PresetNumber(), state, why);
        if (!p.empty()) return p;
        if (state < kPresetUser) return installed(coefSet(kPresetCurves[state]), true);
        if (state == kPresetSpeakerComp) {
            p = st.text(ControlPanelPageConfig(), kPageConfig, why);
            if (p.empty()) p = st.number(EqBypass(), 0, why);
            if (p.empty()) p = st.number(ActiveCoefSet(), 0, why);
        }
        return p;
    }
    if (c.name() == "cboMARLO" && state >= 0 && state < int(std::size(kUserCurves)))
        return installed(coefSet(kUserCurves[state]), true);
    if (c.name() == "cboSpComp" && state >= 0 && state < int(std::size(kAllSpeakers))) {
        const auto model = kAllSpeakers[state];
        std::string p = st.number(PresetNumber(), kPresetSpeakerComp, why);
        if (p.empty()) p = st.text(CurrSpeakerComp(), equalizer::name(model), why);
        if (p.empty()) p = installed(coefSet(model), false);
        return p;
    }
    if (c.name() == "cboAnalogEQ" && state >= 0) {
        std::string p = st.number(SupportAnalogEQ(), state == 0 ? 0 : 1, why);
        if (p.empty()) p = st.number(AnalogEQSrcLine(), state == 0 ? kNoAnalogLine : state - 1, why);
        if (p.empty()) p = st.number(AnalogEQEnableState(), state == 0 ? 0 : 1, why);
        return p;
    }
    return "";
}

inline std::string quadWriteThrough(const ui::Form& f, const ui::Control& c, int state, Stores& st) {
    const std::string why = "frmQuad." + c.name() + " became " + std::to_string(state);
    if (c.name() == "chkShare") return st.number(settings::SetGPIO0InQuad(), state, why);
    if (c.name() == "optQuad" && state == 1) {
        std::string p = st.number(settings::QuadCodecOutputModeState(), c.index(), why);
        const auto* label = static_cast<const ui::Label*>(f.find("lblQuad"));
        if (p.empty() && label && label->caption() != kQuadModes[c.index()])
            p = why + ": the mode label reads \"" + label->caption() + "\"";
        return p;
    }
    return "";
}

inline std::string wpcrsetWriteThrough(const ui::Control& c, int state, Stores& st) {
    using namespace settings;
    const std::string why = "frmWPCRSET." + c.name() + " became " + std::to_string(state);
    if (c.name() == "chkVIAFix") return st.number(VIAFix(), state == 1 ? 1 : 0, why);
    if (c.name() == "chkVIAAGP") return st.number(VIAAGP(), state == 1 ? 1 : 0, why);
    for (const wpcrset::OptionBinding* o : {&wpcrset::kRunSwitch, &wpcrset::kStartType})
        if (c.name() == o->control && state == 1) return st.number(o->setting(), std::stoi(o->values[c.index()]), why);
    return "";
}

// Every control of `f` whose state differs from `before`.
inline std::string checkWriteThrough(const ui::Form& f, const ControlStates& before, platform::MemoryRegistry& mem) {
    Stores st(mem);
    const auto& controls = f.controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ui::Control* c = controls[i];
        // The controls are made with the window, so the lists line up.
        const std::pair<const ui::Control*, int>* was = i < before.size() && before[i].first == c ? &before[i] : nullptr;
        for (std::size_t j = 0; !was && j < before.size(); ++j)
            if (before[j].first == c) was = &before[j];
        const int now = stateOf(*c);
        if (!was || was->second == now) continue;
        std::string p;
        if (f.name() == "frmMain") p = mainWriteThrough(*c, now, st);
        else if (f.name() == "frmEQ") p = eqWriteThrough(*c, now, st);
        else if (f.name() == "frmQuad") p = quadWriteThrough(f, *c, now, st);
        else if (f.name() == "frmWPCRSET") p = wpcrsetWriteThrough(*c, now, st);
        if (!p.empty()) return p;
    }
    return "";
}

// Buttons whose press stores fixed values.
inline std::string checkButton(const ui::Form& f, const ui::Control& c, platform::MemoryRegistry& mem) {
    using namespace settings;
    Stores st(mem);
    const std::string why = f.name() + "." + c.name() + " pressed";
    if (f.name() == "frmMain" && c.name() == "cmdFixDetect") {
        for (int n = 1; n <= int(std::size(mainwin::kSpdifCards)); ++n)
            if (auto p = st.number(SpdifCard(n), mainwin::kSpdifCards[n - 1], why); !p.empty()) return p;
    }
    if (f.name() == "frmWPCRSET" && c.name() == "cmdRemove") {
        if (auto p = st.number(RegCnt(), 0, why); !p.empty()) return p;
        for (int i = 0; i < 16; ++i)
            if (auto p = st.absent(RegEntry(i), why); !p.empty()) return p;
    }
    if (f.name() == "frmWPCRSET" && c.name() == "cmdUpdate") {
        const auto* chipset = static_cast<const ui::ComboList*>(f.find("cboChipset"));
        const auto* slot = static_cast<const ui::ComboList*>(f.find("cboDevice"));
        wpcrset::Entry entry;
        if (chipset && slot && wpcrset::slotEntry(chipset->listIndex(), slot->listIndex(), entry))
            if (auto p = st.number(RegEntry(0), std::int32_t(entry.packed()), why); !p.empty()) return p;
    }
    if (f.name() == "frmReset") {
        std::vector<const Setting*> values;
        for (const ResetButton& row : kResetButtons)
            if (c.name() == "cmdResetAll" || c.name() == row.button) {
                const auto& group = reset::groupValues(row.group);
                values.insert(values.end(), group.begin(), group.end());
            }
        for (const Setting* s : values) {
            auto p = s->reset ? st.number(*s, *s->reset, why) : st.absent(*s, why);
            if (!p.empty()) return p;
        }
    }
    if (f.name() == "frmAC97Mixer" && c.name() == "cmdOK") {
        const auto* box = static_cast<const ui::TextBox*>(f.find("txtAC97Location"));
        if (box && f.loaded()) return st.absent(AC97MixerLocation(), why + " and the path failed");
        if (box && !f.loaded()) return st.text(AC97MixerLocation(), box->text(), why + " and the path started");
    }
    return "";
}

// ---- what a load shows --------------------------------------------------------

inline std::string shows(const ui::Form& f, const char* control, int index, int expected, const std::string& why) {
    const ui::Control* c = f.find(control, index);
    if (!c) return f.name() + " has no " + control;
    const int got = stateOf(*c);
    if (got == expected) return "";
    return f.name() + "." + control + (index >= 0 ? "(" + std::to_string(index) + ")" : "") + " shows " +
           std::to_string(got) + ", not " + std::to_string(expected) + " for " + why;
}

// The stored number if it is one the control can hold, else `otherwise`.
inline int within(const Stored& s, int lo, int hi, int otherwise, std::optional<std::int32_t> empty = 0) {
    std::optional<std::int32_t> n = empty;
    if (!s.reading.isEmpty()) {
        n.reset();
        if (auto v = s.reading.toInt16()) n = *v;
    }
    return n && *n >= lo && *n <= hi ? *n : otherwise;
}

inline std::string whatStored(const Setting& s, const State& st) {
    return std::string(s.name) + " = " + describe(st.at(s).raw);
}

inline std::string mainShown(const ui::Form& f, const State& b, bool readsTray) {
    using namespace mainwin;
    std::string p;
    auto expect = [&](const char* control, int value, const Setting& s) {
        if (p.empty()) p = shows(f, control, -1, value, whatStored(s, b));
    };
    for (const BoxBinding& box : kBoxes) {
        const Setting& s = box.setting();
        if (box.shown == Shown::One) expect(box.control, b.at(s).reading.toText() == "1", s);
        else expect(box.control, within(b.at(s), 0, 2, 0), s);
    }
    for (const RangeBinding& r : kRanges) expect(r.control, within(b.at(r.setting()), 0, r.max, 0), r.setting());
    for (const ListBinding& l : kLists)
        expect(l.control, within(b.at(l.setting()), 0, int(l.entries) - 1, -1, std::nullopt), l.setting());
    expect("chkTray", readsTray && !b.at(settings::AU30TRAY()).reading.toText().empty(), settings::AU30TRAY());
    for (int i = 0; i < int(std::size(kSpdifRates)) && p.empty(); ++i) p = shows(f, "optDigOut", i, 0, "a window just loaded");
    if (p.empty()) {
        const ui::Control* label = f.find("lblDigOut");
        if (label && label->caption() != b.at(kSpdifRateSetting()).reading.toText())
            p = "frmMain.lblDigOut reads \"" + label->caption() + "\" for " + whatStored(kSpdifRateSetting(), b);
    }
    const ui::Control* list = f.find(kA3DTypeList.control);
    if (p.empty() && list && stateOf(*list) >= 0) {
        for (int i = 0; i < int(std::size(kA3DTypes)) && p.empty(); ++i) {
            const ui::Control* pic = f.find(kA3DTypes[i].picture);
            if (pic && pic->visible() != (i == stateOf(*list)))
                p = std::string("frmMain.") + kA3DTypes[i].picture + " visible " + std::to_string(pic->visible()) +
                    " with A3D type " + std::to_string(stateOf(*list));
        }
    }
    return p;
}

inline std::string eqShown(const ui::Form& f, const State& b) {
    using namespace settings;
    std::string p;
    auto expect = [&](const char* control, int index, int value, const std::string& why) {
        if (p.empty()) p = shows(f, control, index, value, why);
    };
    const int bypass = within(b.at(EqBypass()), 0, 1, -1);
    expect("optEQ", 0, bypass == 0, whatStored(EqBypass(), b));
    expect("optEQ", 1, bypass == 1, whatStored(EqBypass(), b));
    const int preset = within(b.at(PresetNumber()), 0, equalizer::kPresetSpeakerComp, -1);
    expect("cboEQPreset", -1, preset, whatStored(PresetNumber(), b));
    int model = -1;
    for (int i = 0; i < 4; ++i)
        if (preset == equalizer::kPresetSpeakerComp && b.at(CurrSpeakerComp()).reading.toText() == equalizer::name(equalizer::kAllSpeakers[i]))
            model = i;
    expect("cboSpComp", -1, model, whatStored(CurrSpeakerComp(), b));
    expect("cboMARLO", -1, -1, "a window just loaded");
    const ui::Control* sp = f.find("cboSpComp");
    const ui::Control* user = f.find("cboMARLO");
    if (p.empty() && sp && user && (sp->visible() != (preset == equalizer::kPresetSpeakerComp) ||
                               user->visible() != (preset == equalizer::kPresetUser)))
        p = "frmEQ shows the speaker list " + std::to_string(sp->visible()) + " and the user list " +
            std::to_string(user->visible()) + " for " + whatStored(PresetNumber(), b);
    auto support = b.at(SupportAnalogEQ()).reading.isEmpty() ? std::optional<std::int16_t>(0) : b.at(SupportAnalogEQ()).reading.toInt16();
    auto enable = b.at(AnalogEQEnableState()).reading.isEmpty() ? std::optional<std::int16_t>(0) : b.at(AnalogEQEnableState()).reading.toInt16();
    auto line = b.at(AnalogEQSrcLine()).reading.isEmpty() ? std::optional<std::int16_t>(0) : b.at(AnalogEQSrcLine()).reading.toInt16();
    int analog = -1;
    if (support && enable && line) {
        if (*support == 1 && *enable == 1) analog = *line >= 0 && *line < equalizer::kAnalogLineCount ? *line + 1 : -1;
        else if (*support == 0 || *support == 1) analog = 0;
    }
    expect("cboAnalogEQ", -1, analog, whatStored(SupportAnalogEQ(), b) + ", " + whatStored(AnalogEQEnableState(), b) +
                                          ", " + whatStored(AnalogEQSrcLine(), b));
    return p;
}

inline std::string quadShown(const ui::Form& f, const State& b) {
    using namespace settings;
    std::string p = shows(f, "optQuad", 0, 0, "a window just loaded");
    if (p.empty()) p = shows(f, "optQuad", 1, 0, "a window just loaded");
    if (p.empty()) p = shows(f, "chkShare", -1, within(b.at(SetGPIO0InQuad()), 0, 2, 0), whatStored(SetGPIO0InQuad(), b));
    const int mode = within(b.at(QuadCodecOutputModeState()), 0, 1, -1);
    const ui::Control* label = f.find("lblQuad");
    if (p.empty() && label && mode >= 0 && label->caption() != kQuadModes[mode])
        p = "frmQuad.lblQuad reads \"" + label->caption() + "\" for " + whatStored(QuadCodecOutputModeState(), b);
    return p;
}

inline std::string wpcrsetShown(const ui::Form& f, const State& b) {
    using namespace settings;
    std::string p;
    auto expect = [&](const char* control, int index, int value, const std::string& why) {
        if (p.empty()) p = shows(f, control, index, value, why);
    };
    for (const wpcrset::OptionBinding* o : {&wpcrset::kRunSwitch, &wpcrset::kStartType}) {
        const std::string stored = b.at(o->setting()).reading.toText();
        for (int i = 0; i < 2; ++i) expect(o->control, i, stored == o->values[i], whatStored(o->setting(), b));
    }
    expect("chkVIAFix", -1, b.at(VIAFix()).reading.toText() == "1", whatStored(VIAFix(), b));
    expect("chkVIAAGP", -1, b.at(VIAAGP()).reading.toText() == "1", whatStored(VIAAGP(), b));
    expect("cboChipset", -1, -1, "a window just loaded");
    for (const char* locked : {"chkVIAFix", "chkVIAAGP", "cboDevice", "cmdUpdate"}) {
        const ui::Control* c = f.find(locked);
        if (p.empty() && c && c->enabled()) p = std::string("frmWPCRSET.") + locked + " is enabled after the load";
    }
    return p;
}

// What the window `f`, just loaded over the registry `b`, must show.
inline std::string checkShown(const ui::Form& f, const State& b, bool mainReadsTray = true) {
    if (f.name() == "frmMain") return mainShown(f, b, mainReadsTray);
    if (f.name() == "frmEQ") return eqShown(f, b);
    if (f.name() == "frmQuad") return quadShown(f, b);
    if (f.name() == "frmWPCRSET") return wpcrsetShown(f, b);
    return "";
}

}  // namespace qmfuzz
