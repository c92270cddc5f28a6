// The main window appears with only the page on show made; the others are
// made once it is up, or at once when the user turns to one. Whichever way a
// page comes, its controls must be there once each, filled from the
// registry, on top of the tab strip and in the Tab order of reading.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "AppTest.h"

#include <windows.h>

using namespace e2e;

namespace {

constexpr int kTabA3D = 2;
constexpr int kTabDigital = 4;

bool built(const Window& w) { return GetPropA(static_cast<HWND>(w.hwnd()), "QmBuilt") != nullptr; }

// Whether a user could see and click the control: the window under its
// middle is the control itself (or a part of it), not what lies beneath.
bool onTop(const Control& c) {
    const Box b = screenBox(c);
    POINT p = {(b.left + b.right) / 2, (b.top + b.bottom) / 2};
    HWND at = WindowFromPoint(p);
    HWND self = static_cast<HWND>(c.hwnd());
    return at == self || IsChild(self, at);
}

}  // namespace

class Pages : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        setUnmanagedWindows(true);
    }
    void TearDown() override {
        AppTest::TearDown();
        setUnmanagedWindows(false);
    }
};

TEST_F(Pages, APageTurnedToAtOnceComesWholeAndOnTop) {
    installDriver();
    reg::set(settings::DetectSpdifOut(), 1);
    reg::set(settings::EnableSpdifOut(), 1);
    app.start();

    // Straight after it appears, before waiting for the rest.
    std::optional<Window> shown;
    ASSERT_TRUE(waitUntil(
        [&] {
            shown = app.findForm("frmMain");
            return shown && shown->visible();
        },
        scaled(kStartTimeout)));
    Window main = *shown;
    const bool early = !built(main);
    main.control("SSTab1").choose(kTabDigital);
    std::printf("[ pages    ] turned to the page %s the rest was made\n", early ? "before" : "after");

    const std::vector<std::string> page = {"Frame3",    "optDigOut(0)", "optDigOut(1)", "optDigOut(2)", "lblDigOut",
                                           "Frame5",    "chkDetOut",    "chkEnOut",     "Frame6",       "chkDetIn",
                                           "chkEnIn", "cmdEQSettings", "cmdFixDetect"};
    for (const std::string& name : page) {
        std::optional<Control> c = main.find(name);
        ASSERT_TRUE(c.has_value()) << name << " is missing";
        EXPECT_TRUE(c->visible()) << name;
    }
    EXPECT_EQ(main.control("lblDigOut").text(), "48000");
    EXPECT_EQ(main.control("chkDetOut").checked(), 1);
    EXPECT_EQ(main.control("chkEnOut").checked(), 1);
    for (const char* name : {"optDigOut(1)", "chkDetOut", "chkEnOut", "cmdEQSettings", "cmdFixDetect"})
        EXPECT_TRUE(onTop(main.control(name))) << name << " lies under another window";

    // Once everything is made: no control twice, the page unchanged, and
    // the controls of every page in reading order among the window's.
    ASSERT_TRUE(waitUntil([&] { return built(main); }, scaled(kStepTimeout)));
    std::map<std::string, int> seen;
    std::vector<std::string> order;
    for (const Control& c : childrenOf(main)) {
        if (c.name().empty()) continue;
        ++seen[c.name()];
        order.push_back(c.name());
    }
    for (const auto& [name, n] : seen) EXPECT_EQ(n, 1) << name;
    for (const std::string& name : page) EXPECT_TRUE(main.control(name).visible()) << name;
    // Within each page the stacking keeps the reading order; containers go
    // beneath, so compare the others only.
    const std::vector<std::vector<std::string>> reading = {
        {"ListView1", "chkPlayA3D", "chkA3DSplash", "chkTray", "cmdWPCRSET"},
        {"cboEffect1", "hsbEffect1", "cmdEffect2", "hsbEffect2", "chkMIDIfx", "chkHighPerfMIDI", "cboWavetableMode"},
        {"cboA3DType", "txtDrvVer", "cmdDrvVerHlp", "txtA3DVer", "txtA3DAPI", "cmdAboutA3D", "cmdQuad"},
        {"optDigOut(0)", "optDigOut(1)", "optDigOut(2)", "chkDetOut", "chkEnOut", "chkDetIn", "chkEnIn",
         "cmdEQSettings", "cmdFixDetect", "cmdAbout", "cmdOK", "cmdReset"},
    };
    for (const auto& want : reading) {
        std::vector<std::string> got;
        for (const std::string& name : order)
            if (std::find(want.begin(), want.end(), name) != want.end()) got.push_back(name);
        EXPECT_EQ(got, want);
    }
}

// Under visual styles the page is drawn by the theme, not in button face;
// what lies on it, a group box's inside and a picture's margin included,
// shows the page through. Looked at where the page changes least: beside
// and inside the group at the same height.
TEST_F(Pages, WhatLiesOnAPageShowsThePageThrough) {
    installDriver();
    app.start();
    Window main = app.form("frmMain");
    main.control("SSTab1").choose(kTabA3D);
    ASSERT_TRUE(waitUntil([&] { return built(main); }, scaled(kStepTimeout)));
    const Shot shot = shoot(main);
    const Box page = tabPageBox(main.control("SSTab1"));
    const Box group = screenBox(main.control("Frame7"));
    const Box picture = screenBox(main.control("imgMon"));
    ASSERT_TRUE(page.contains(group)) << group.describe() << " not on " << page.describe();
    auto hex = [](std::uint32_t c) {
        char b[16];
        std::snprintf(b, sizeof b, "%06X", unsigned(c));
        return std::string(b);
    };
    // Just above the group's bottom edge, below everything in it.
    const int y = group.bottom - 4;
    const std::uint32_t left = shot.at(group.left - 3, y), right = shot.at(group.right + 2, y);
    ASSERT_GE(group.left - 3, page.left);
    ASSERT_LT(group.right + 2, page.right);
    ASSERT_EQ(hex(left), hex(right)) << "the page itself differs left and right";
    for (int x : {group.left + 8, group.left + group.width() / 3, group.left + group.width() / 2})
        EXPECT_EQ(hex(shot.at(x, y)), hex(left)) << "inside the group at x " << x - group.left;
    // The picture's top corners are its margin.
    const std::uint32_t beside = shot.at(picture.left - 2, picture.top + 1);
    EXPECT_EQ(hex(shot.at(picture.left, picture.top)), hex(beside)) << "the picture's margin";
    EXPECT_EQ(hex(shot.at(picture.right - 1, picture.top)), hex(beside)) << "the picture's margin";
}
