// A user at work: up to a bounded number of actions, each on a control of
// the top-most open window that the user can reach, or on its close box;
// after each action every write is checked, and so is the hand-over
// between the main window and its dialogs.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/fuzz/Bindings.h"
#include "tests/fuzz/FuzzInput.h"
#include "tests/fuzz/Oracles.h"
#include "tests/fuzz/World.h"
#include "ui/Form.h"

namespace qmfuzz {

// Far more than any window needs for one action; past it, a handler loops.
constexpr std::size_t kMaxRegistryOpsPerAction = 20000;

inline ui::Form* topMost(ui::Form& root) {
    ui::Form* f = &root;
    while (ui::Form* c = f->openChild()) f = c;
    return f;
}

// The window that opened dialogs is hidden and disabled while one is open
// (the About box leaves it visible), and usable again once it is closed.
inline std::string checkHandOver(const ui::Form& root) {
    if (!root.loaded()) return "";  // the program has ended
    const ui::Form* child = root.openChild();
    if (!child) {
        if (!root.visible() || !root.enabled())
            return root.name() + " not given back: visible " + std::to_string(root.visible()) + ", enabled " +
                   std::to_string(root.enabled());
        return "";
    }
    if (!child->visible()) return child->name() + " is open but not shown";
    if (!child->enabled()) return child->name() + " is open but disabled";
    if (root.enabled()) return root.name() + " is usable behind " + child->name();
    if (root.visible() && child->name() != "frmAbout") return root.name() + " stays visible behind " + child->name();
    return "";
}

inline bool actionable(const ui::Control& c) {
    switch (c.kind()) {
    case ui::Kind::Button:
    case ui::Kind::CheckBox:
    case ui::Kind::Option:
    case ui::Kind::ComboList:
    case ui::Kind::HScroll:
    case ui::Kind::Slider:
    case ui::Kind::TabStrip:
    case ui::Kind::ListView: return true;
    case ui::Kind::TextBox: return !static_cast<const ui::TextBox&>(c).readOnly;
    default: return false;
    }
}

inline const char* const kTypedPaths[] = {"C:\\AC97Mix\\AC97Mixer.exe", "", "   ", "AC97Mixer.exe",
                                          "\"C:\\Program Files\\AC97 Mixer\\AC97Mixer.exe\"", "C:\\a|b<c>.exe"};

class Session {
public:
    Session(FuzzInput& in, World& w, ui::Form& root) : in_(in), w_(w), root_(root) {
        for (auto& st : states_) st = takeState();
    }
    ~Session() {
        // What the captures read is freed with the run; the buffers stay.
        for (auto& st : states_) {
            for (Stored& v : st->values) v = Stored();
            giveState(std::move(st));
        }
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The load rules an action on this control of this window is bound by
    // (the dialog it opens, or a control that must write nothing), if any.
    std::function<const LoadRules*(const ui::Form&, const ui::Control&)> rulesFor;
    // For a dialog fuzzed alone: opens it again once only its owner is left.
    std::function<void()> reopen;
    const LoadRules* reopenRules = nullptr;
    // Enough for any window's deepest state (a dialog over the main window,
    // a few settings changed in it); longer runs mostly repeat, at a cost.
    int maxActions = 32;

    // Runs one action and checks what it did; `control` is the one acted on.
    template <typename Act>
    void check(const Act& act, const LoadRules* rules, const std::string& what, const ui::Control* control = nullptr) {
        platform::MemoryRegistry& mem = w_.env.mem;
        // QMFUZZ_TRACE=1 when replaying one input shows what the user did.
        static const bool trace = std::getenv("QMFUZZ_TRACE") != nullptr;
        // The whole registry is compared only where a load's rules apply.
        const State* before = rules ? registryNow() : nullptr;
        const std::size_t logBefore = mem.log().size(), opsBefore = mem.operationCount();
        ui::Form* top = topMost(root_);
        ControlStates& topBefore = topBefore_;
        ControlStates& rootBefore = rootBefore_;
        statesInto(*top, topBefore);
        if (top == &root_) rootBefore.clear();
        else statesInto(root_, rootBefore);
        const std::size_t shownBefore = w_.box.shown.size();
        act();
        const auto prefix = [&](const std::string& problem) {
            return problem.empty() ? problem : "after " + what + ": " + problem;
        };
        const WriteContext ctx{&w_.launcher.lastStartedFile};
        require(prefix(checkWrites(mem, logBefore, ctx)));
        const std::size_t ops = mem.operationCount() - opsBefore;
        if (ops > kMaxRegistryOpsPerAction) fail(prefix(std::to_string(ops) + " registry operations"));
        if (rules) {
            if (rules->touchesNothing && ops != 0)
                fail(prefix(std::string(rules->window) + " used the registry " + std::to_string(ops) + " times"));
            // Nothing logged, nothing changed: the memory registry logs every change.
            if (mem.log().size() != logBefore) require(prefix(checkLoad(*rules, *before, *registryNow())));
            require(prefix(checkKeysCreated(*rules, mem, logBefore)));
            // The window just loaded shows what it read.
            const ui::Form* loaded = nullptr;
            if (rules->shows && root_.name() == rules->shows) loaded = &root_;
            else if (ui::Form* now = topMost(root_); rules->shows && now != top && now->name() == rules->shows)
                loaded = now;
            if (loaded) require(prefix(checkShown(*loaded, *before, rules->readsTray)));
        }
        require(prefix(checkWriteThrough(*top, topBefore, mem)));
        if (top != &root_) require(prefix(checkWriteThrough(root_, rootBefore, mem)));
        if (control && control->kind() == ui::Kind::Button) require(prefix(checkButton(*top, *control, mem)));
        require(prefix(checkHandOver(root_)));
        // One action tells the user a thing once.
        for (std::size_t i = shownBefore; i < w_.box.shown.size(); ++i)
            for (std::size_t j = shownBefore; j < i; ++j)
                if (w_.box.shown[i].text == w_.box.shown[j].text)
                    fail(prefix("the same message twice: " + w_.box.shown[i].text));
        if (trace) std::fprintf(stderr, "  %s: %zu registry operations\n", what.c_str(), ops);
    }

    void run() {
        for (int step = 0; step < maxActions && !in_.empty(); ++step) {
            if (!root_.loaded()) return;  // the program ended
            ui::Form* top = topMost(root_);
            if (top == &root_ && reopen) {
                check(reopen, reopenRules, "opening again");
                continue;
            }
            std::vector<ui::Control*>& reachable = reachable_;
            reachable.clear();
            for (ui::Control* c : top->controls())
                if (actionable(*c) && c->usable()) reachable.push_back(c);
            const std::size_t k = in_.pick(reachable.size() + 1);
            std::string& what = what_;
            what.assign(top->name());
            if (k == reachable.size()) {
                what += " close box";
                check([top] { top->fromUser([top] { top->closeBox(); }); }, nullptr, what);
                continue;
            }
            ui::Control& c = *reachable[k];
            const LoadRules* rules = rulesFor ? rulesFor(*top, c) : nullptr;
            what += '.';
            what += c.name();
            if (c.index() >= 0) {
                what += '(';
                what += std::to_string(c.index());
                what += ')';
            }
            // As the real windows do: a failing handler is caught and told.
            check([&] { top->fromUser([&] { act(c, what); }); }, rules, what, &c);
        }
    }

private:
    // The registry as it stands, captured again only after it has changed,
    // into the buffer the last capture did not use: a check holds at most
    // two, the one before its action and the one after.
    const State* registryNow() {
        platform::MemoryRegistry& mem = w_.env.mem;
        if (current_ < 0 || states_[current_]->logSize != mem.log().size()) {
            current_ = current_ == 0 ? 1 : 0;
            captureInto(*states_[current_], mem);
        }
        return states_[current_].get();
    }

    // Capture buffers outlive the session, so their memory is reused.
    static std::vector<std::unique_ptr<State>>& spareStates() {
        static std::vector<std::unique_ptr<State>> spare;
        return spare;
    }
    static std::unique_ptr<State> takeState() {
        auto& spare = spareStates();
        if (spare.empty()) return std::make_unique<State>();
        auto st = std::move(spare.back());
        spare.pop_back();
        return st;
    }
    static void giveState(std::unique_ptr<State> st) { spareStates().push_back(std::move(st)); }

    void act(ui::Control& c, std::string& what) {
        switch (c.kind()) {
        case ui::Kind::Button: static_cast<ui::Button&>(c).click(); break;
        case ui::Kind::CheckBox: {
            auto& box = static_cast<ui::CheckBox&>(c);
            // A click toggles; now and then a state no box can hold.
            static const int kRefused[] = {-1, 3, 7};
            const int next = in_.rarely(8) ? in_.choose(kRefused) : (box.value() == 1 ? 0 : 1);
            what += " := ";
            what += std::to_string(next);
            box.setValue(next);
            break;
        }
        case ui::Kind::Option: static_cast<ui::OptionButton&>(c).choose(); break;
        case ui::Kind::ComboList: {
            // A pick from the opened list, or a step through the closed one.
            auto& list = static_cast<ui::ComboList&>(c);
            const int i = static_cast<int>(in_.pick(static_cast<std::size_t>(list.listCount()) + 3)) - 1;
            const bool picked = in_.rarely(2);
            what += picked ? " picks " : " := ";
            what += std::to_string(i);
            if (picked)
                list.pick(i);
            else
                list.setListIndex(i);
            break;
        }
        case ui::Kind::HScroll:
        case ui::Kind::Slider: {
            auto& r = static_cast<ui::RangeControl&>(c);
            const int span = r.max() - r.min() + 1;
            const int choices[] = {r.min() - 1,
                                   r.min(),
                                   r.max(),
                                   r.max() + 1,
                                   r.value() + r.smallChange,
                                   r.value() - r.smallChange,
                                   r.value() + r.largeChange,
                                   r.value() - r.largeChange,
                                   r.min() + static_cast<int>(in_.pick(static_cast<std::size_t>(span))),
                                   static_cast<std::int16_t>(in_.u16())};
            const int v = in_.choose(choices);
            what += " := ";
            what += std::to_string(v);
            r.setValue(v);
            break;
        }
        case ui::Kind::TabStrip: {
            auto& t = static_cast<ui::TabStrip&>(c);
            const int i = static_cast<int>(in_.pick(t.tabs().size() + 2)) - 1;
            what += " := ";
            what += std::to_string(i);
            t.setCurrentTab(i);
            break;
        }
        case ui::Kind::ListView: {
            auto& l = static_cast<ui::ListView&>(c);
            const int n = static_cast<int>(in_.pick(l.items().size() + 2));
            what += " dblclick ";
            what += std::to_string(n);
            l.setSelectedItem(n);
            l.dblClick();
            break;
        }
        case ui::Kind::TextBox: {
            // Typed text: no NUL can be typed into an edit box.
            std::string t = in_.flag() ? std::string(in_.choose(kTypedPaths)) : in_.text(in_.pick(300));
            for (char& ch : t)
                if (ch == '\0') ch = ' ';
            static_cast<ui::TextBox&>(c).setText(t);
            what += " typed";
            break;
        }
        default: break;
        }
    }

    FuzzInput& in_;
    World& w_;
    ui::Form& root_;
    std::unique_ptr<State> states_[2];
    int current_ = -1;
    ControlStates topBefore_, rootBefore_;
    std::vector<ui::Control*> reachable_;
    std::string what_;
};

}  // namespace qmfuzz
