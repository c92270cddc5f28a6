#include <set>

#include "test_main_fixture.h"

namespace mainwin {
namespace {

int scaled(int twips, int dpi) { return (twips * dpi + 720) / 1440; }

struct Box {
    int x, y, w, h;
};

Box at(const ui::Rect& r, int dpi) { return {scaled(r.x, dpi), scaled(r.y, dpi), scaled(r.w, dpi), scaled(r.h, dpi)}; }

bool overlap(const Box& a, const Box& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

struct MainLayout : MainWindowTest, ::testing::WithParamInterface<int> {};

TEST_P(MainLayout, EveryControlLiesInItsContainerAndNoSiblingsOverlap) {
    const int dpi = GetParam();
    frmMain f(env.services(), env.ui());
    const Box client{0, 0, scaled(f.clientWidth(), dpi), scaled(f.clientHeight(), dpi)};
    EXPECT_EQ(f.clientWidth(), 368 * 15);
    EXPECT_EQ(f.clientHeight(), 344 * 15);
    const Box tabs = at(f.SSTab1.rect(), dpi);
    const int tabHeader = scaled(24 * 15, dpi);
    const std::set<std::string> stacked{"imgPhones", "imgSat", "imgMon", "imgQuad"};

    std::set<std::pair<std::string, int>> names;
    std::vector<const ui::Control*> all;
    for (const ui::Control* c : f.controls()) {
        const std::string id = c->name() + (c->index() >= 0 ? "(" + std::to_string(c->index()) + ")" : "");
        EXPECT_TRUE(names.insert({c->name(), c->index()}).second) << id;
        const Box b = at(c->rect(), dpi);
        ASSERT_GT(b.w, 0) << id << " was never placed";
        ASSERT_GT(b.h, 0) << id;
        Box outer = client;
        int top = 0;
        if (c->container()) {
            outer = at(c->container()->rect(), dpi);
            top = scaled(14 * 15, dpi);  // below the frame's caption
        } else if (c->tabPage() >= 0) {
            outer = tabs;
            top = tabHeader;
            EXPECT_LT(c->tabPage(), 5) << id;
        }
        EXPECT_GE(b.x, 0) << id;
        EXPECT_GE(b.y, top) << id;
        EXPECT_LE(b.x + b.w, outer.w) << id;
        EXPECT_LE(b.y + b.h, outer.h) << id;
        if (c != &f.SSTab1) all.push_back(c);
    }
    // Whatever shows together must not overlap: the same page, or the form
    // itself; a frame holds its own controls.
    auto absolute = [&](const ui::Control* c) {
        Box b = at(c->rect(), dpi);
        for (const ui::Control* p = c->container(); p; p = p->container()) {
            b.x += at(p->rect(), dpi).x;
            b.y += at(p->rect(), dpi).y;
        }
        if (c->tabPage() >= 0) {
            b.x += tabs.x;
            b.y += tabs.y;
        }
        return b;
    };
    auto holds = [](const ui::Control* frame, const ui::Control* c) {
        for (const ui::Control* p = c->container(); p; p = p->container())
            if (p == frame) return true;
        return false;
    };
    for (std::size_t i = 0; i < all.size(); ++i)
        for (std::size_t j = i + 1; j < all.size(); ++j) {
            const ui::Control* a = all[i];
            const ui::Control* b = all[j];
            if (a->tabPage() != b->tabPage() && a->tabPage() >= 0 && b->tabPage() >= 0) continue;
            if (holds(a, b) || holds(b, a)) continue;
            if (stacked.count(a->name()) && stacked.count(b->name())) continue;
            EXPECT_FALSE(overlap(absolute(a), absolute(b)))
                << a->name() << " and " << b->name() << " at " << dpi << " DPI";
        }
    // The bottom row lies below the tabs.
    for (const ui::Control* c : {&f.cmdAbout, &f.cmdOverride, &f.cmdOK, &f.cmdReset})
        EXPECT_GE(at(c->rect(), dpi).y, tabs.y + tabs.h) << c->name();
}

INSTANTIATE_TEST_SUITE_P(Dpi, MainLayout, ::testing::Values(96, 120, 144));

TEST(MainWindowCreated, StartsInItsInitialState) {
    qmtest::TestEnv env;
    frmMain f(env.services(), env.ui());
    EXPECT_EQ(f.caption(), "Quillmere");
    EXPECT_EQ(f.SSTab1.tabs(),
              (std::vector<std::string>{"General", "MIDI", "A3D Settings", "AC'97 Controls", "EQ/Digital I/O"}));
    EXPECT_EQ(f.SSTab1.currentTab(), 0);
    EXPECT_EQ(f.chkTray.tabPage(), 0);
    EXPECT_EQ(f.hsbEffect1.tabPage(), 1);  // through its frame
    EXPECT_EQ(f.imgQuad.tabPage(), 2);
    EXPECT_EQ(f.cmdAC97Help.tabPage(), 3);
    EXPECT_EQ(f.optDigOut[2].tabPage(), 4);
    EXPECT_EQ(f.cmdOK.tabPage(), -1);

    EXPECT_FALSE(f.cmdOverride.enabled());
    EXPECT_TRUE(f.cmdOverride.visible());
    EXPECT_FALSE(f.cmdReset.enabled());
    EXPECT_FALSE(f.txtOSName.visible());
    EXPECT_FALSE(f.txtADMSize.visible());
    for (const ui::TextBox* t : {&f.txtDrvVer, &f.txtA3DVer, &f.txtA3DAPI}) {
        EXPECT_EQ(t->text(), "NA");
        EXPECT_TRUE(t->readOnly);
    }
    EXPECT_EQ(f.lblDigOut.caption(), "N/A");
    EXPECT_EQ(f.lblPCM1.caption(), "Label13");
    EXPECT_EQ(f.lblRear.caption(), "Label16");
    EXPECT_EQ(f.lblEffect1.caption(), "0");
    EXPECT_EQ(f.optDigOut.selected(), -1);
    EXPECT_EQ(f.hsbFront.max(), 31);
    EXPECT_EQ(f.hsbEffect2.max(), 127);
    EXPECT_EQ(f.cboWavetableMode.items(), (std::vector<std::string>{"320 Voices", "128 Voices", "64 Voices"}));
    EXPECT_EQ(f.cboA3DType.listCount(), 4);
    EXPECT_EQ(f.cboEffect1.listCount(), 10);
    EXPECT_EQ(f.cmdEffect2.listCount(), 10);
    for (const ui::Picture* p : {&f.imgPhones, &f.imgSat, &f.imgMon, &f.imgQuad}) EXPECT_TRUE(p->visible());
    EXPECT_EQ(f.imgMon.image, ui::IMG_MONITOR);
    EXPECT_EQ(f.ListView1.imageList.size(), 7u);
    EXPECT_EQ(f.ListView1.smallImageList, f.ListView1.imageList);
    EXPECT_TRUE(f.ListView1.items().empty());  // the loading adds them
    EXPECT_EQ(env.mem.operationCount(), 0u);
    EXPECT_EQ(f.find("optDigOut", 1)->tooltip(), "Set S/PDIF to CD Quality (for CD and Sony MiniDisc)");
    EXPECT_EQ(f.cboWavetableMode.tooltip(),
              "Controls the Polyphony for using MIDI.  In hardware, there are only 64 voices.");
}

}  // namespace
}  // namespace mainwin
