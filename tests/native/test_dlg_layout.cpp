#include <gtest/gtest.h>

#include "info/frmAbout.h"
#include "info/frmAboutA3D.h"
#include "info/frmDrvVer.h"
#include "info/DriverVerdicts.h"
#include "main/frmAC97Mixer.h"
#include "main/frmQuad.h"
#include "reset/frmReset.h"
#include "wpcrset/frmWPCRSET.h"
#include "support/TestEnv.h"

namespace {
// 8 pt Tahoma at 96 DPI, pixel widths with a tenth added, in twips.
int charWidth(char c) {
    static const int lower[26] = {5, 6, 5, 6, 5, 3, 6, 6, 2, 3, 5, 2, 8, 6, 6, 6, 6, 4, 5, 4, 6, 5, 8, 5, 5, 5};
    int px = 6;
    if (c >= 'a' && c <= 'z') px = lower[c - 'a'];
    else if (c == 'I' || c == 'J') px = 4;
    else if (c == 'M' || c == 'W') px = 10;
    else if (c >= 'A' && c <= 'Z') px = 7;
    else if (std::string(" .,:;'!|").find(c) != std::string::npos) px = 3;
    else if (std::string("()-/\\").find(c) != std::string::npos) px = 4;
    return px * 15 * 11 / 10;
}
int textWidth(const std::string& s) {
    int w = 0;
    for (char c : s)
        if (c != '&') w += charWidth(c);
    return w;
}
// Lines a word-wrapping label needs at a given width.
int linesNeeded(const std::string& text, int width) {
    int lines = 1, x = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t j = text.find(' ', i);
        if (j == std::string::npos) j = text.size();
        int w = textWidth(text.substr(i, j - i));
        if (x > 0 && x + w > width) ++lines, x = 0;
        x += w + charWidth(' ');
        i = j + 1;
    }
    return lines;
}
bool overlap(const ui::Rect& a, const ui::Rect& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

void checkLayout(const ui::Form& f) {
    SCOPED_TRACE(f.name());
    const int kLine = 210, kFrameTop = 240;
    for (const ui::Control* c : f.controls()) {
        SCOPED_TRACE(c->name() + (c->index() >= 0 ? std::to_string(c->index()) : ""));
        const ui::Rect& r = c->rect();
        const int cw = c->container() ? c->container()->rect().w : f.clientWidth();
        const int ch = c->container() ? c->container()->rect().h : f.clientHeight();
        EXPECT_TRUE(r.w > 0 && r.h > 0 && r.x >= 0 && r.y >= 0 && r.x + r.w <= cw && r.y + r.h <= ch);
        if (c->container() && !c->container()->caption().empty()) {
            EXPECT_GE(r.y, kFrameTop);
        }
        for (const ui::Control* o : f.controls())
            if (o != c && o->container() == c->container() && o->tabPage() == c->tabPage()) {
                EXPECT_FALSE(overlap(r, o->rect())) << "overlaps " << o->name();
            }
        switch (c->kind()) {
            case ui::Kind::Button: EXPECT_GE(r.w, textWidth(c->caption()) + 90); break;
            case ui::Kind::CheckBox:
            case ui::Kind::Option: EXPECT_GE(r.w, textWidth(c->caption()) + 300); break;
            case ui::Kind::Label: {
                // A heading in a larger font, measured as the dialog font scaled up.
                const double points = static_cast<const ui::Label*>(c)->fontPoints;
                const double scale = points > 0 ? points / 8 : 1;
                EXPECT_GE(r.h, linesNeeded(c->caption(), static_cast<int>(r.w / scale)) * kLine * scale);
                break;
            }
            case ui::Kind::Frame: EXPECT_GE(r.w, textWidth(c->caption()) + 240); break;
            default: break;
        }
    }
}

struct NoPictures : A3DPictureSink {
    void showOnlyPicture(int) override {}
};
}  // namespace

TEST(DialogLayout, ControlsFitTheirTextAndNeitherOverlapNorLeaveTheirContainer) {
    qmtest::TestEnv env;
    NoPictures pics;
    checkLayout(frmReset(env.services(), env.ui(), pics));
    checkLayout(frmQuad(env.services(), env.ui()));
    checkLayout(frmAC97Mixer(env.services(), env.ui()));
    checkLayout(frmAbout(env.services(), env.ui()));
    checkLayout(frmAboutA3D(env.services(), env.ui()));
    checkLayout(frmWPCRSET(env.services(), env.ui()));
    // The driver dialog with its longest verdicts in place.
    frmDrvVer drv(env.services(), env.ui(), {"", "", "80.0.0.3"});
    drv.load();
    for (const info::DriverVerdict& v : info::driverVerdicts()) {
        drv.lblDrvVer.setCaption(v.text);
        checkLayout(drv);
    }
}
