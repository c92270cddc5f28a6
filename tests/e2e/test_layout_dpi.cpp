// Layout of every window at the screen's DPI (scripts/test runs this file
// at 96 and again at 120): each visible control inside its window and its
// container, no two side by side controls on top of each other, every
// caption and entry with room to show, the tabs in one row and the tools
// list without scroll bars. With QM_SHOTS_DIR set, a picture of each window.
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "AppTest.h"

using namespace e2e;

namespace {

constexpr int kTabA3D = 2;

int scaledPx(int px96) { return (px96 * screenDpi() + 48) / 96; }

std::string slug(const std::string& s) {
    std::string out;
    for (char c : s) {
        const bool keep = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (c >= 'A' && c <= 'Z') out += char(c - 'A' + 'a');
        else if (keep) out += c;
        else if (!out.empty() && out.back() != '-') out += '-';
    }
    while (!out.empty() && out.back() == '-') out.pop_back();
    return out;
}

std::string nameOf(const Control& c) { return c.name().empty() ? "a " + std::string(toString(lookOf(c))) : c.name(); }

// Every fault of the window's layout as it shows now, one line each; "" when
// there is none.
std::string layoutProblems(const Window& w) {
    std::ostringstream out;
    const Box client = clientBox(w);
    if (!workArea().contains(screenBox(w)))
        out << "the window " << screenBox(w).describe() << " does not fit the screen " << workArea().describe() << "\n";

    std::vector<Control> shown;
    for (const Control& c : childrenOf(w))
        if (c.visible()) shown.push_back(c);
    const int line = lineHeight();

    for (const Control& c : shown) {
        const Box b = screenBox(c);
        const Look look = lookOf(c);
        if (b.empty()) out << nameOf(c) << " has no size " << b.describe() << "\n";
        if (!client.contains(b))
            out << nameOf(c) << " " << b.describe() << " sticks out of the window " << client.describe() << "\n";

        for (const Control& o : shown) {
            if (o.hwnd() == c.hwnd()) continue;
            const Box ob = screenBox(o);
            const Look ol = lookOf(o);
            if (ol == Look::TabStrip && look != Look::TabStrip && b.overlaps(ob) && !tabPageBox(o).contains(b))
                out << nameOf(c) << " " << b.describe() << " is not inside the tab page " << tabPageBox(o).describe()
                    << "\n";
            if (ol == Look::GroupBox && look != Look::TabStrip && b.overlaps(ob)) {
                // Below the frame's caption and clear of its lines.
                const int edge = scaledPx(2);
                Box inner{ob.left + edge, ob.top + (o.text().empty() ? edge : line), ob.right - edge, ob.bottom - edge};
                if (!inner.contains(b))
                    out << nameOf(c) << " " << b.describe() << " is not inside its frame " << nameOf(o) << " "
                        << inner.describe() << "\n";
            }
            // Each pair once; frames and the tab strip hold others by design.
            const bool container = [](Look l) { return l == Look::GroupBox || l == Look::TabStrip; }(look) ||
                                   ol == Look::GroupBox || ol == Look::TabStrip;
            if (!container && c.hwnd() < o.hwnd() && b.overlaps(ob))
                out << nameOf(c) << " " << b.describe() << " overlaps " << nameOf(o) << " " << ob.describe() << "\n";
        }

        // Room for what the control shows, in the dialog font. (Wine will
        // not tell another process a control's font; a heading in a larger
        // one is measured as if it had the dialog font.)
        const std::string text = c.text();
        const auto tooSmall = [&](const char* what, const Extent& need, int w, int h) {
            out << nameOf(c) << ": " << what << " \"" << text << "\" needs " << need.width << "x" << need.height
                << " pixels, has " << w << "x" << h << "\n";
        };
        // A pixel of height to spare: Wine makes the 120 DPI dialog font a
        // pixel taller than XP does, and a single line then loses only the
        // lowest row of its descenders.
        const auto fits = [](const Extent& need, int w, int h) { return need.width <= w && need.height <= h + 1; };
        switch (look) {
            case Look::Label: {
                if (text.empty()) break;
                // A static wraps at words: a line that does not fit goes below.
                const Extent need = captionExtent(text, b.width());
                if (!fits(need, b.width(), b.height())) tooSmall("caption", need, b.width(), b.height());
                break;
            }
            case Look::Button: {
                // Inside the button's 3D border.
                const Extent need = captionExtent(text);
                const int w = b.width() - 4, h = b.height() - 4;
                if (!fits(need, w, h)) tooSmall("caption", need, w, h);
                break;
            }
            case Look::CheckBox:
            case Look::Option: {
                // Beside the box or circle and its gap; the caption may wrap.
                const int w = b.width() - scaledPx(13) - scaledPx(3);
                const Extent need = captionExtent(text, w);
                if (!fits(need, w, b.height())) tooSmall("caption", need, w, b.height());
                break;
            }
            case Look::GroupBox: {
                if (text.empty()) break;
                const Extent need = captionExtent(text);
                const int w = b.width() - scaledPx(16);
                if (need.width > w) tooSmall("caption", need, w, line);
                break;
            }
            case Look::TextBox: {
                if (text.empty()) break;
                const Box in = clientBox(c);
                const Extent need = captionExtent(text);
                if (!fits(need, in.width() - scaledPx(4), in.height()))
                    tooSmall("text", need, in.width() - scaledPx(4), in.height());
                break;
            }
            case Look::ComboList: {
                const int w = b.width() - scaledPx(17) - scaledPx(8);
                for (const std::string& item : c.items()) {
                    const Extent need = captionExtent(item);
                    if (!fits(need, w, b.height() - 4)) {
                        out << nameOf(c) << ": entry \"" << item << "\" needs " << need.width << " pixels, has " << w
                            << "\n";
                    }
                }
                break;
            }
            case Look::TabStrip: {
                if (tabRows(c) != 1) out << nameOf(c) << ": its tabs take " << tabRows(c) << " rows\n";
                for (int i = 0; i < c.count(); ++i)
                    if (!b.contains(tabItemBox(c, i)))
                        out << nameOf(c) << ": tab \"" << c.itemText(i) << "\" " << tabItemBox(c, i).describe()
                            << " runs off the strip " << b.describe() << "\n";
                break;
            }
            case Look::ListView: {
                if (showsScrollBar(c)) out << nameOf(c) << " needs a scroll bar to show its entries\n";
                const Box in = clientBox(c);
                for (int i = 0; i < c.count(); ++i)
                    if (!in.contains(listItemBox(c, i)))
                        out << nameOf(c) << ": entry \"" << c.itemText(i) << "\" " << listItemBox(c, i).describe()
                            << " lies outside the list " << in.describe() << "\n";
                break;
            }
            default:
                break;
        }
    }
    return out.str();
}

// The same, read while the window stays where it is: boxes read across a
// move of the window would not fit together.
std::string steadyLayoutProblems(const Window& w) {
    std::string problems;
    for (int tries = 0; tries < 5; ++tries) {
        const Box before = screenBox(w);
        problems = layoutProblems(w);
        if (screenBox(w) == before) break;
    }
    return problems;
}

// Whether one line of `problems` holds all of `parts`, in this order.
bool hasLine(const std::string& problems, const std::vector<std::string>& parts) {
    std::istringstream lines(problems);
    for (std::string line; std::getline(lines, line);) {
        std::size_t at = 0;
        bool all = true;
        for (const std::string& p : parts) {
            at = line.find(p, at);
            if (at == std::string::npos) {
                all = false;
                break;
            }
            at += p.size();
        }
        if (all) return true;
    }
    return false;
}

}  // namespace

class Layout : public AppTest {
protected:
    void SetUp() override {
        // Captions are measured in the dialog font; XP's is Tahoma, and a
        // stand-in would make them seem too wide or too narrow.
        ASSERT_EQ(dialogFontFace(), "Tahoma") << "this Wine prefix has no Tahoma (scripts/test copies Wine's own, "
                                                 "from Debian's fonts-wine)";
        AppTest::SetUp();
        setUnmanagedWindows(true);
        installDriver();
        reg::createKey(settings::key::A3D);
        reg::set(settings::SplashAudio(), 1);
        reg::set(settings::SplashScreen(), 1);
        // The longest verdicts the driver dialog shows.
        copyFile(fixture("drv-2560-702080\\adm8830.sys"), systemDir() + "\\drivers\\adm8830.sys");
        copyFile(fixture("a3d\\a3d.dll"), systemDir() + "\\a3d.dll");
        copyFile(fixture("a3d\\a3dapi.dll"), systemDir() + "\\a3dapi.dll");
    }

    void TearDown() override {
        AppTest::TearDown();
        setUnmanagedWindows(false);
    }

    // Checks the window as it shows now, and takes its picture when asked to.
    void check(const Window& w, const std::string& label) {
        SCOPED_TRACE(label + " at " + std::to_string(screenDpi()) + " DPI");
        EXPECT_EQ(steadyLayoutProblems(w), "");
        const std::string folder = shotsFolder();
        if (folder.empty()) return;
        bringToFront(w);
        saveScreenshot(w, folder + "\\" + std::to_string(screenDpi()) + "dpi-" + label + ".bmp");
    }

    void waitGivenBack(const Window& main, const std::string& form) {
        ASSERT_TRUE(waitUntil([&] { return main.usable(); }, scaled(kStepTimeout))) << form << " kept the main window";
        ASSERT_TRUE(waitUntil(
            [&] {
                auto d = app.findForm(form);
                return !d || !d->visible();
            },
            scaled(kStepTimeout)))
            << form << " stayed open";
    }
};

TEST_F(Layout, TheWindowsFollowTheScreensDpi) {
    const int dpi = screenDpi();
    std::printf("[ layout   ] running at %d DPI\n", dpi);
    // scripts/test says which DPI its prefix was made for: a Wine that did
    // not take it would quietly test 96 twice.
    const char* want = std::getenv("QM_E2E_DPI");
    if (want && *want) {
        EXPECT_EQ(dpi, std::atoi(want));
    }

    Window main = startMain();
    const Box inner = clientBox(main);
    EXPECT_NEAR(inner.width(), 368.0 * dpi / 96, 2.0);
    EXPECT_NEAR(inner.height(), 344.0 * dpi / 96, 2.0);
    // The controls grow with it: a button's height, a line of text.
    const Box ok = screenBox(main.control("cmdOK"));
    EXPECT_NEAR(ok.height(), 23.0 * dpi / 96, 1.0);
    EXPECT_NEAR(ok.width(), 75.0 * dpi / 96, 1.0);
    EXPECT_GE(lineHeight(), 13 * dpi / 96);
}

// The checks themselves, on a window put out of order on purpose: they
// must see the program's controls, not pass for want of any.
TEST_F(Layout, TheChecksSeeControlsOutOfPlace) {
    Window main = startMain();
    const Box tray = screenBox(main.control("chkTray")), splash = screenBox(main.control("chkA3DSplash"));
    moveControlBy(main.control("chkTray"), 4, splash.top - tray.top + 2, 0, 0);
    const Box client = clientBox(main), ok = screenBox(main.control("cmdOK"));
    moveControlBy(main.control("cmdOK"), 0, client.bottom - 5 - ok.top, 0, 0);
    const Box list = screenBox(main.control("ListView1"));
    moveControlBy(main.control("ListView1"), 0, 0, 0, -list.height() * 2 / 3);

    const std::string problems = steadyLayoutProblems(main);
    EXPECT_TRUE(hasLine(problems, {"chkTray", "overlaps", "chkA3DSplash"}) ||
                hasLine(problems, {"chkA3DSplash", "overlaps", "chkTray"}))
        << problems;
    EXPECT_TRUE(hasLine(problems, {"cmdOK", "sticks out of the window"})) << problems;
    EXPECT_TRUE(hasLine(problems, {"ListView1 needs a scroll bar"})) << problems;
    // A caption squeezed out of its box.
    moveControlBy(main.control("chkA3DSplash"), 0, 0, -splash.width() * 3 / 4, 0);
    const std::string squeezed = steadyLayoutProblems(main);
    EXPECT_TRUE(hasLine(squeezed, {"chkA3DSplash: caption"})) << squeezed;
}

TEST_F(Layout, EveryTabOfTheMainWindowIsLaidOutCleanly) {
    Window main = startMain();
    Control tabs = main.control("SSTab1");
    for (int i = 0; i < tabs.count(); ++i) {
        tabs.choose(i);
        check(main, "frmMain-" + std::to_string(i + 1) + "-" + slug(tabs.itemText(i)));
    }
    // Each of the four pictures of the A3D type in its place, alone.
    tabs.choose(kTabA3D);
    Control type = main.control("cboA3DType");
    for (int i = 0; i < type.count(); ++i) {
        type.choose(i);
        EXPECT_EQ(steadyLayoutProblems(main), "") << type.itemText(i);
    }
}

TEST_F(Layout, EveryDialogIsLaidOutCleanly) {
    reg::createKey(settings::key::WpcrsetParameters);
    reg::set(settings::WpcrsetStart(), 0);
    reg::set(settings::WpcrsetRunSwitch(), 1);
    reg::createKey(settings::key::EqPreset);
    reg::createKey(settings::key::SpeakerCompensation);
    reg::setText(settings::CurrSpeakerComp(), "Sonigistix Monsoon MM-700");
    Window main = startMain();

    for (const std::string& form : dialogForms()) {
        // The equalizer in both of its shapes: the speaker models' list, and
        // the user curves' list in the same place.
        std::vector<std::pair<int, std::string>> shapes = {{-1, form}};
        if (form == "frmEQ") shapes = {{6, "frmEQ-speaker-compensation"}, {5, "frmEQ-user"}};
        for (const auto& [preset, label] : shapes) {
            SCOPED_TRACE(label);
            if (preset >= 0) reg::set(settings::PresetNumber(), preset);
            Window dlg = openDialog(app, main, form);
            ASSERT_FALSE(app.findMessageBox().has_value()) << app.findMessageBox()->text();
            check(dlg, label);
            dlg.closeFromFrame();
            waitGivenBack(main, form);
        }
    }
}
