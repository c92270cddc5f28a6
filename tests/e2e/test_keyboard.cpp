// The keyboard as a user has it, typed through the system's input queue:
// Tab and Shift+Tab go round each window in reading order, every mnemonic
// of a caption reaches its control, and in every dialog Enter does what its
// default button does and Esc what its closing button does.
#include <algorithm>
#include <string>
#include <vector>

#include "AppTest.h"
#include "main/MainBindings.h"

using namespace e2e;

namespace {

constexpr int kTabGeneral = 0;
constexpr int kTabMidi = 1;
constexpr int kTabA3D = 2;
constexpr int kTabAC97 = 3;
constexpr int kTabDigital = 4;

std::string joined(const std::vector<std::string>& v) {
    std::string s;
    for (const std::string& x : v) s += (s.empty() ? "" : ", ") + x;
    return s;
}

// The same ring read from `first`, so that where Tab happened to start does
// not matter; unchanged when `first` is not in it.
std::vector<std::string> fromFirst(std::vector<std::string> ring, const std::string& first) {
    auto at = std::find(ring.begin(), ring.end(), first);
    if (at != ring.end()) std::rotate(ring.begin(), at, ring.end());
    return ring;
}

}  // namespace

class Keyboard : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        setUnmanagedWindows(true);
        installDriver();
        // Both "Enable" boxes usable, so both are in the Tab order.
        reg::set(settings::DetectSpdifIn(), 1);
        reg::createKey(settings::key::WpcrsetParameters);
        reg::set(settings::WpcrsetStart(), 0);
        reg::set(settings::WpcrsetRunSwitch(), 1);
    }
    void TearDown() override {
        AppTest::TearDown();
        setUnmanagedWindows(false);
    }

    Window startInFront() {
        Window main = startMain();
        takeFocus(main);
        return main;
    }

    // Brings `w` to the front and waits until one of its controls has the
    // keyboard focus.
    void takeFocus(const Window& w) {
        bringToFront(w);
        if (!waitUntil([&] { return isIn(w, focusIn(w)); }, scaled(kStepTimeout)))
            throw Failure(w.name() + " has no control with the focus");
    }

    static bool isIn(const Window& w, const Control& c) {
        if (!c) return false;
        for (const Control& k : childrenOf(w))
            if (k.hwnd() == c.hwnd()) return true;
        return false;
    }

    static std::string focusName(const Window& w) {
        Control f = focusIn(w);
        if (!f) return "(nothing)";
        return f.name().empty() ? "(" + f.className() + ")" : f.name();
    }

    // Presses Tab (or Shift+Tab) until the focus is back where it started;
    // the controls it visited, from the first one it reached.
    std::vector<std::string> tabRing(const Window& w, bool back = false) {
        std::vector<std::string> seen;
        const std::string start = focusName(w);
        std::string at = start;
        for (int guard = 0; guard < 40; ++guard) {
            typeKey(w, VK_TAB_, back);
            if (!waitUntil([&] { return focusName(w) != at; }, scaled(kStepTimeout))) {
                seen.push_back("(Tab stays on " + at + ")");
                return seen;
            }
            at = focusName(w);
            seen.push_back(at);
            if (at == start) return seen;
        }
        seen.push_back("(no way back to " + start + ")");
        return seen;
    }

    // The ring Tab goes round must be the reading order, Shift+Tab the same
    // backwards.
    void expectTabOrder(const Window& w, const std::vector<std::string>& order) {
        const std::vector<std::string> forward = tabRing(w);
        EXPECT_EQ(joined(fromFirst(forward, order.front())), joined(order));
        std::vector<std::string> backward = tabRing(w, true);
        std::reverse(backward.begin(), backward.end());
        EXPECT_EQ(joined(fromFirst(backward, order.front())), joined(order)) << "with Shift+Tab";
    }
};

TEST_F(Keyboard, TabGoesRoundEachPageOfTheMainWindowInReadingOrder) {
    Window main = startInFront();
    const std::vector<std::string> below = {"cmdAbout", "cmdOK", "cmdReset"};
    struct Page {
        int tab;
        std::vector<std::string> controls;
    } const pages[] = {
        {kTabGeneral, {"ListView1", "chkPlayA3D", "chkA3DSplash", "chkTray", "cmdWPCRSET"}},
        {kTabMidi,
         {"cboEffect1", "hsbEffect1", "cmdEffect2", "hsbEffect2", "chkMIDIfx", "chkHighPerfMIDI", "cboWavetableMode"}},
        {kTabA3D, {"cboA3DType", "txtDrvVer", "cmdDrvVerHlp", "txtA3DVer", "txtA3DAPI", "cmdAboutA3D", "cmdQuad"}},
        {kTabAC97,
         {"chkST3D", "chkAttenuation", "chkLA4Inv", "chkLA2Inv", "hsbPCM1", "hsbPCM2", "hsbFront", "cmdAC97Help",
          "hsbRear"}},
        {kTabDigital,
         {"optDigOut(0)", "chkDetOut", "chkEnOut", "chkDetIn", "chkEnIn", "cmdEQSettings", "cmdFixDetect"}},
    };
    for (const Page& p : pages) {
        SCOPED_TRACE("tab " + std::to_string(p.tab));
        main.control("SSTab1").choose(p.tab);
        takeFocus(main);
        std::vector<std::string> order = {"SSTab1"};
        order.insert(order.end(), p.controls.begin(), p.controls.end());
        order.insert(order.end(), below.begin(), below.end());
        expectTabOrder(main, order);
    }
}

TEST_F(Keyboard, MnemonicsOfTheMainWindowReachTheirControlsOnTheirOwnPage) {
    Window main = startInFront();
    struct Key {
        int tab;
        char key;
        const char* control;
        int index;    // of an option button; -1: none
        bool writes;  // a box it ticks or an option it picks; else it only takes the focus
    } const keys[] = {
        {kTabGeneral, 'P', "chkPlayA3D", -1, true},
        {kTabGeneral, 'S', "chkA3DSplash", -1, true},
        {kTabMidi, '1', "cboEffect1", -1, false},
        {kTabMidi, '2', "cmdEffect2", -1, false},
        {kTabMidi, 'T', "chkMIDIfx", -1, true},
        {kTabMidi, 'W', "cboWavetableMode", -1, false},
        {kTabAC97, 'D', "chkST3D", -1, true},
        {kTabAC97, 'E', "chkAttenuation", -1, true},
        {kTabAC97, '4', "chkLA4Inv", -1, true},
        {kTabAC97, '9', "chkLA2Inv", -1, true},
        {kTabDigital, '3', "optDigOut", 0, true},
        // The same digit as "ST9708LA&4" on its hidden page: only the shown one counts.
        {kTabDigital, '4', "optDigOut", 1, true},
        {kTabDigital, '8', "optDigOut", 2, true},
    };
    for (const Key& k : keys) {
        SCOPED_TRACE(std::string("Alt+") + k.key + " for " + k.control);
        main.control("SSTab1").choose(k.tab);
        takeFocus(main);
        Control target = k.index < 0 ? main.control(k.control) : main.control(k.control, k.index);
        const int before = target.checked();
        const reg::Snapshot registry = snapshotProgramKeys();

        typeAlt(main, k.key);
        EXPECT_TRUE(waitUntil([&] { return focusIn(main).hwnd() == target.hwnd(); }, scaled(kStepTimeout)))
            << "the focus is on " << focusName(main);
        if (!k.writes) {
            EXPECT_EQ(reg::diff(registry, snapshotProgramKeys()), "");
            continue;
        }
        const bool option = lookOf(target) == Look::Option;
        const int want = option ? 1 : 1 - before;
        EXPECT_TRUE(waitUntil([&] { return target.checked() == want; }, scaled(kStepTimeout)));
        // Its handler ran: the setting holds what the control now shows.
        const settings::Setting* s = option ? &mainwin::kSpdifRateSetting() : nullptr;
        for (const mainwin::BoxBinding& b : mainwin::kBoxes)
            if (!option && k.control == std::string(b.control)) s = &b.setting();
        ASSERT_NE(s, nullptr) << "no binding";
        const std::uint32_t stored = option ? std::stoul(mainwin::kSpdifRates[k.index]) : want;
        EXPECT_TRUE(waitUntil([&] { return reg::dword(*s) == stored; }, scaled(kStepTimeout)))
            << s->name << " is " << (reg::get(*s) ? reg::get(*s)->describe() : "missing");
        // Nothing else: no control of another page took the key.
        reg::Snapshot was = registry, now = snapshotProgramKeys();
        was.values.erase(reg::snapshotName(s->key, s->name));
        now.values.erase(reg::snapshotName(s->key, s->name));
        EXPECT_EQ(reg::diff(was, now), "");
    }

    // "&OK" ends the program, with its reminder.
    main.control("SSTab1").choose(kTabGeneral);
    takeFocus(main);
    typeAlt(main, 'O');
    MsgBox box = app.messageBox();
    EXPECT_EQ(box.title(), "Reboot Required");
    box.answer(IDOK_);
    app.waitForExit();
}

TEST_F(Keyboard, MnemonicsOfTheDialogsReachTheirControls) {
    Window main = startInFront();

    // The equalizer's label hands the focus to its list.
    main.control("SSTab1").choose(kTabDigital);
    main.control("cmdEQSettings").click();
    Window eq = app.form("frmEQ");
    takeFocus(eq);
    typeAlt(eq, 'A');
    EXPECT_TRUE(waitUntil([&] { return focusName(eq) == "cboAnalogEQ"; }, scaled(kStepTimeout)))
        << "the focus is on " << focusName(eq);
    eq.control("cmdOK").click();
    ASSERT_TRUE(gone("frmEQ"));

    main.control("SSTab1").choose(kTabA3D);
    main.control("cmdQuad").clickAsync();
    app.messageBox().answer(IDYES_);
    app.messageBox().answer(IDOK_);
    Window quad = app.form("frmQuad");
    takeFocus(quad);
    typeAlt(quad, 'Q');
    EXPECT_TRUE(waitUntil([&] { return quad.control("optQuad", 1).checked() == 1; }, scaled(kStepTimeout)));
    EXPECT_TRUE(
        waitUntil([&] { return reg::dword(settings::QuadCodecOutputModeState()) == 1u; }, scaled(kStepTimeout)));
    EXPECT_EQ(quad.control("lblQuad").text(), "Quad");
    // "&Share ..." and "&Stereo" share their letter; Windows leaves which
    // of them it reaches to the dialog manager, but one of them it must.
    typeAlt(quad, 'S');
    EXPECT_TRUE(waitUntil(
        [&] {
            const std::string f = focusName(quad);
            return f == "chkShare" || f == "optQuad(0)";
        },
        scaled(kStepTimeout)))
        << "the focus is on " << focusName(quad);
}

TEST_F(Keyboard, TabGoesRoundEachDialogInReadingOrder) {
    Window main = startInFront();
    struct Case {
        const char* form;
        std::vector<std::string> order;
    } const cases[] = {
        {"frmEQ", {"cboEQPreset", "cboAnalogEQ", "optEQ(0)", "cmdOK"}},
        {"frmReset",
         {"cmdResetAll", "cmdAC97Mix", "cmdMIDIVoices", "cmdDigOut", "cmdA3DType", "cmdMIDIFX", "cmdDigIn", "Command1",
          "cmdAnalogEQ", "cmdOK"}},
        // Only what the load leaves enabled.
        {"frmWPCRSET", {"cmdWPCRHelp", "optWPCRSET(0)", "optWDevice(0)", "cmdVIAHelp", "cboChipset", "cmdRemove",
                        "Command1"}},
        {"frmQuad", {"chkShare", "optQuad(0)", "cmdOK"}},
        // The path first: the box at the top, then "?", OK and Cancel below it.
        {"frmAC97Mixer", {"txtAC97Location", "cmdHelp", "cmdOK", "cmdExit"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.form);
        Window dlg = openDialog(app, main, c.form);
        takeFocus(dlg);
        expectTabOrder(dlg, c.order);
        dlg.closeFromFrame();
        expectGivenBack(main, c.form);
    }
    // The boxes with only their OK button keep the focus on it.
    for (const char* form : {"frmDrvVer", "frmAbout", "frmAboutA3D"}) {
        Window dlg = openDialog(app, main, form);
        takeFocus(dlg);
        EXPECT_EQ(focusName(dlg), "cmdOK") << form;
        dlg.closeFromFrame();
        expectGivenBack(main, form);
    }
}

// Right after a dialog opens, Enter must do what its default button does,
// whatever the focus landed on, and Esc what its closing button does: give
// the main window back and write nothing.
TEST_F(Keyboard, EnterAndEscInEachDialogActAsItsDefaultAndClosingButtons) {
    Window main = startInFront();
    for (const std::string& form : dialogForms()) {
        for (int key : {VK_RETURN_, VK_ESCAPE_}) {
            const char* keyName = key == VK_RETURN_ ? "Enter" : "Esc";
            SCOPED_TRACE(form + ", " + keyName);
            Window dlg = openDialog(app, main, form);
            takeFocus(dlg);
            const std::string focus = focusName(dlg);
            const reg::Snapshot before = snapshotProgramKeys();
            typeKey(dlg, key);

            if (form == "frmAC97Mixer" && key == VK_RETURN_) {
                // OK with no path typed: it says so and the dialog stays.
                waitUntil([&] { return app.findMessageBox() || !dlg.visible(); }, scaled(kStepTimeout));
                if (auto box = app.findMessageBox()) {
                    EXPECT_EQ(box->text().rfind("You haven't entered a valid path.", 0), 0u)
                        << "Enter (focus on " << focus << ") showed \"" << box->text() << "\"";
                    box->answer(IDOK_);
                    EXPECT_TRUE(dlg.visible());
                    dlg.closeFromFrame();
                } else {
                    ADD_FAILURE() << "Enter (focus on " << focus << ") closed the dialog without trying a path";
                }
            } else if (!gone(form)) {
                // Keep going with the next dialog: say what happened instead.
                if (auto box = app.findMessageBox()) {
                    ADD_FAILURE() << keyName << " (focus on " << focus << ") showed \"" << box->text() << "\"";
                    box->answer(box->buttons().front());
                } else {
                    ADD_FAILURE() << keyName << " (focus on " << focus << ") left the dialog open";
                }
                dlg.closeFromFrame();
            }
            expectGivenBack(main, form);
            EXPECT_EQ(reg::diff(before, snapshotProgramKeys()), "") << keyName << " with the focus on " << focus;
        }
    }
}
