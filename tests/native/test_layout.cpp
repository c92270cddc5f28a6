#include <gtest/gtest.h>

#include "ui/Form.h"
#include "ui/Layout.h"

using namespace ui;
using namespace ui::layout;

namespace {
// A window laid out like the real ones: a tab strip with a frame on its
// second page holding an option array, a check box on the first page, and a
// button below the tabs.
struct Layout : Form {
    TabStrip tabs{*this, "tabs"};
    CheckBox chk{*this, "chk"};
    Frame frame{*this, "frame"};
    OptionArray opt{*this, "opt", 3};
    HScrollBar hsb{*this, "hsb", 0, 31};
    Button cmd{*this, "cmd"};
    Layout() : Form("frmLayout", {}) {
        tabs.addTab("One");
        tabs.addTab("Two");
        tabs.place("", {120, 240, 5000, 4000});
        chk.place("&Check", {100, 400, 2000, 255}, nullptr, 0);
        frame.place("Fra&me", {200, 500, 3000, 1500}, nullptr, 1);
        for (int i = 0; i < 3; ++i) opt[i].place("o", {100 + 900 * i, 300, 800, 255}, &frame);
        hsb.place("", {100, 3000, 3000, 255}, nullptr, 0);
        cmd.place("&OK", {2400, 4400, 1095, 375});
        hsb.smallChange = 1;
        hsb.largeChange = 4;
    }
};
}  // namespace

TEST(Layout, TwipsBecomePixelsAtTheSystemDpi) {
    EXPECT_EQ(twipsToPixels(15, 96), 1);
    EXPECT_EQ(twipsToPixels(1440, 96), 96);
    EXPECT_EQ(twipsToPixels(1440, 120), 120);
    EXPECT_EQ(twipsToPixels(5520, 96), 368);
    EXPECT_EQ(twipsToPixels(5520, 120), 460);
    // MulDiv rounding: half a pixel and more rounds up, also below zero.
    EXPECT_EQ(twipsToPixels(7, 96), 0);
    EXPECT_EQ(twipsToPixels(8, 96), 1);
    EXPECT_EQ(twipsToPixels(-8, 96), -1);
    EXPECT_EQ(twipsToPixels(0, 120), 0);
    // Large layouts do not overflow in between.
    EXPECT_EQ(twipsToPixels(20000000, 144), 2000000);
}

TEST(Layout, EdgesAreConvertedSoTouchingControlsStillTouch) {
    // Two controls 1000 twips wide side by side: each 66.67 px at 96 DPI.
    PixelRect a = toPixels({0, 0, 1000, 255}, 96);
    PixelRect b = toPixels({1000, 0, 1000, 255}, 96);
    EXPECT_EQ(a.right, b.left);
    EXPECT_EQ(a.width() + b.width(), twipsToPixels(2000, 96));
    EXPECT_EQ(a.height(), 17);
}

TEST(Layout, RectanglesFollowFrameThenTabStripThenClientArea) {
    Layout f;
    Rect r = absoluteRect(f.cmd);
    EXPECT_EQ(r.x, 2400);
    EXPECT_EQ(r.y, 4400);
    r = absoluteRect(f.chk);  // on a page: relative to the tab strip
    EXPECT_EQ(r.x, 220);
    EXPECT_EQ(r.y, 640);
    r = absoluteRect(f.opt[2]);  // in a frame on a page
    EXPECT_EQ(r.x, 120 + 200 + 1900);
    EXPECT_EQ(r.y, 240 + 500 + 300);
    EXPECT_EQ(r.w, 800);
    EXPECT_EQ(f.opt[2].tabPage(), 1);  // a frame's controls share its page
    EXPECT_EQ(pageOf(f.opt[2]), 1);
    EXPECT_EQ(pageOf(f.chk), 0);
    EXPECT_EQ(pageOf(f.cmd), -1);
    EXPECT_EQ(pageOf(f.tabs), -1);
}

TEST(Liveness, PageControlsShowOnlyWithTheirPageAndFollowTheirContainers) {
    Layout f;
    EXPECT_TRUE(f.chk.shownNow());
    EXPECT_FALSE(f.frame.shownNow());
    EXPECT_FALSE(f.opt[0].shownNow());
    EXPECT_TRUE(f.cmd.shownNow());

    f.tabs.setCurrentTab(1);
    EXPECT_FALSE(f.chk.shownNow());
    EXPECT_TRUE(f.opt[0].shownNow());

    f.frame.setVisible(false);
    EXPECT_FALSE(f.opt[0].shownNow());
    f.frame.setVisible(true);
    f.opt[1].setVisible(false);
    EXPECT_FALSE(f.opt[1].shownNow());
    EXPECT_TRUE(f.opt[0].shownNow());

    f.tabs.setVisible(false);
    EXPECT_FALSE(f.opt[0].shownNow());
    EXPECT_TRUE(f.cmd.shownNow());
}

TEST(Liveness, AUserReachesAControlShownAndEnabledOnAFormShownAndEnabled) {
    Layout f;
    EXPECT_FALSE(f.chk.usable());  // the form is not shown yet
    f.show();
    EXPECT_TRUE(f.chk.usable());
    EXPECT_FALSE(f.opt[0].usable());  // on the other page
    f.tabs.setCurrentTab(1);
    EXPECT_TRUE(f.opt[0].usable());
    f.frame.setEnabled(false);
    EXPECT_FALSE(f.opt[0].usable());
    f.setEnabled(false);
    EXPECT_FALSE(f.cmd.usable());
    // Frames placed in a loop are no chain a user could reach through.
    f.setEnabled(true);
    Frame other(f, "other");
    f.frame.place("", {}, &other);
    other.place("", {}, &f.frame);
    EXPECT_FALSE(f.opt[0].usable());
}

TEST(Liveness, DisablingTheTabStripOrAFrameDisablesWhatLiesOnIt) {
    Layout f;
    EXPECT_TRUE(f.opt[0].enabledNow());
    f.frame.setEnabled(false);
    EXPECT_FALSE(f.opt[0].enabledNow());
    EXPECT_TRUE(f.chk.enabledNow());
    f.frame.setEnabled(true);
    f.tabs.setEnabled(false);
    EXPECT_FALSE(f.chk.enabledNow());
    EXPECT_FALSE(f.opt[2].enabledNow());
    EXPECT_TRUE(f.cmd.enabledNow());
    // Being on another page hides a control but does not disable it.
    f.tabs.setEnabled(true);
    f.tabs.setCurrentTab(1);
    EXPECT_TRUE(f.chk.enabledNow());
}

TEST(Layout, AFormWithoutTabStripIgnoresPageNumbers) {
    struct Plain : Form {
        Label lbl{*this, "lbl"};
        Plain() : Form("frmPlain", {}) { lbl.place("x", {10, 20, 30, 40}, nullptr, 2); }
    } f;
    EXPECT_EQ(f.tabStrip(), nullptr);
    EXPECT_TRUE(f.lbl.shownNow());
    EXPECT_EQ(absoluteRect(f.lbl).x, 10);
}

TEST(ControlRules, AccessKeysOfCaptions) {
    Form f("frmKeys", {});
    Label l(f, "l");
    auto key = [&l](const char* caption) { return l.place(caption, {}).accessKey(); };
    EXPECT_EQ(key("&OK"), 'O');
    EXPECT_EQ(key("Effect &1"), '1');
    EXPECT_EQ(key("4&8 kHz"), '8');
    EXPECT_EQ(key("&play"), 'P');
    EXPECT_EQ(key("R&&D"), 0);
    EXPECT_EQ(key("R&&D &Lab"), 'L');
    EXPECT_EQ(key("Trailing&"), 0);
    EXPECT_EQ(key("AC'97 Controls"), 0);
    EXPECT_EQ(key(""), 0);
}

TEST(ControlRules, ScrollRequestsLandInsideTheRange) {
    Layout f;
    f.hsb.setValue(8);
    EXPECT_EQ(f.hsb.scrollTarget(ScrollRequest::LineLeft, 0), 7);
    EXPECT_EQ(f.hsb.scrollTarget(ScrollRequest::LineRight, 0), 9);
    EXPECT_EQ(f.hsb.scrollTarget(ScrollRequest::PageLeft, 0), 4);
    EXPECT_EQ(f.hsb.scrollTarget(ScrollRequest::PageRight, 0), 12);
    EXPECT_EQ(f.hsb.scrollTarget(ScrollRequest::Left, 0), 0);
    EXPECT_EQ(f.hsb.scrollTarget(ScrollRequest::Right, 0), 31);
    EXPECT_EQ(f.hsb.scrollTarget(ScrollRequest::ThumbPosition, 20), 20);
    EXPECT_EQ(f.hsb.scrollTarget(ScrollRequest::ThumbPosition, 40), 31);
    f.hsb.setValue(0);
    EXPECT_EQ(f.hsb.scrollTarget(ScrollRequest::LineLeft, 0), 0);
    EXPECT_EQ(f.hsb.scrollTarget(ScrollRequest::PageLeft, 0), 0);
    f.hsb.setValue(30);
    EXPECT_EQ(f.hsb.scrollTarget(ScrollRequest::PageRight, 0), 31);
}

TEST(ControlRules, ClickStatesAndOptionTabStops) {
    Layout f;
    for (int v : {0, 1, 2}) {
        f.chk.setValue(v);
        EXPECT_EQ(f.chk.clickedValue(), v == 0 ? 1 : 0) << v;
    }
    EXPECT_EQ(f.opt.tabStop(), 0);
    f.opt.select(2);
    EXPECT_EQ(f.opt.tabStop(), 2);
}

TEST(Layout, IconSpacingFitsEveryEntryWithoutScrollingWhenThereIsRoom) {
    const Spacing usual{75, 75}, least{63, 68};
    // The main window's tools list: seven entries in 330 x 146 pixels.
    Spacing s = iconSpacing(7, 330, 146, usual, least);
    EXPECT_EQ(s.cx, 82);  // four columns, two rows
    EXPECT_EQ(s.cy, 73);
    // Few entries stay side by side, spread over the width, rows as usual.
    s = iconSpacing(2, 330, 146, usual, least);
    EXPECT_EQ(s.cx, 165);
    EXPECT_EQ(s.cy, 75);
    // A low list takes more columns before it would scroll.
    s = iconSpacing(7, 330, 75, usual, least);
    EXPECT_EQ(s.cx, 330 / 5);
    EXPECT_EQ(s.cy, 68);
    // Too many to fit: cells never shrink below an icon and its text.
    s = iconSpacing(40, 330, 146, usual, least);
    EXPECT_EQ(s.cx, 66);
    EXPECT_EQ(s.cy, 68);
    // Nothing to lay out, or no room: nothing set; a narrow list, one column.
    EXPECT_EQ(iconSpacing(0, 330, 146, usual, least).cx, 0);
    EXPECT_EQ(iconSpacing(7, 0, 146, usual, least).cx, 0);
    EXPECT_EQ(iconSpacing(7, 20, 146, usual, least).cx, 20);
}

TEST(Layout, TabPaddingClosesUpBeforeTheTabsShareTheWidth) {
    const std::vector<int> xp = {40, 24, 63, 71, 71};  // Tahoma 8 captions
    EXPECT_EQ(tabPadding(xp, 346, 6, 2), 6);
    const std::vector<int> wide = {47, 30, 75, 85, 84};  // a wider font
    EXPECT_EQ(tabPadding(wide, 346, 6, 2), 2);
    const std::vector<int> wider = {60, 40, 90, 100, 100};
    EXPECT_EQ(tabPadding(wider, 346, 6, 2), -1);
    EXPECT_EQ(tabPadding({}, 346, 6, 2), 6);
    // Exactly filling the row still fits.
    EXPECT_EQ(tabPadding({100, 100}, 224, 6, 2), 6);
    EXPECT_EQ(tabPadding({100, 100}, 223, 6, 2), 5);
}

TEST(Layout, DialogsCentreOverTheirOwnerButStayOnTheScreen) {
    PixelRect work;
    work.right = 1024;
    work.bottom = 738;
    PixelRect owner;
    owner.left = 300;
    owner.top = 200;
    owner.right = 700;
    owner.bottom = 600;
    Point p = centreOver(owner, 200, 100, work);
    EXPECT_EQ(p.x, 400);
    EXPECT_EQ(p.y, 350);
    // An owner near the right edge: the dialog is pulled back on screen.
    owner.left = 900;
    owner.right = 1300;
    p = centreOver(owner, 300, 100, work);
    EXPECT_EQ(p.x, 724);
    // Larger than the work area: its top-left corner (the title bar) shows.
    p = centreOver(work, 2000, 1000, work);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 0);
}
