#include "ui/Geometry.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "ui/Form.h"

namespace ui::geometry {

namespace {
// A layout table cannot nest deeper than this; a longer chain is a loop.
constexpr int kMaxDepth = 32;
}  // namespace

int twipsToPixels(int twips, int dpi) {
    const std::int64_t n = static_cast<std::int64_t>(twips) * dpi;
    const std::int64_t q = (n >= 0 ? n + 720 : n - 720) / 1440;
    return static_cast<int>(q);
}

PixelRect toPixels(const Rect& r, int dpi) {
    PixelRect p;
    p.left = twipsToPixels(r.x, dpi);
    p.top = twipsToPixels(r.y, dpi);
    p.right = twipsToPixels(r.x + r.w, dpi);
    p.bottom = twipsToPixels(r.y + r.h, dpi);
    return p;
}

TabStrip* tabStripOf(const Form& form) {
    for (Control* c : form.controls())
        if (c->kind() == Kind::TabStrip) return static_cast<TabStrip*>(c);
    return nullptr;
}

namespace {

// The control's placement parent: its frame, else the tab strip for a
// control on a page, else none.
const Control* parentOf(const Control& c) {
    if (c.container()) return c.container();
    if (c.tabPage() >= 0) {
        const TabStrip* ts = tabStripOf(c.form());
        if (ts && ts != &c) return ts;
    }
    return nullptr;
}

// Whether `flag` holds for c and every frame around it; for a control on a
// page the tab strip counts as one more container, and with `pageMustShow`
// its current tab must be that page.
template <typename Flag>
bool holdsAlongChain(const Control& c, Flag flag, bool pageMustShow) {
    const Control* at = &c;
    for (int depth = 0; at && depth < kMaxDepth; ++depth) {
        if (!flag(*at)) return false;
        if (!at->container() && at->tabPage() >= 0) {
            const TabStrip* ts = tabStripOf(at->form());
            if (ts && ts != at) {
                if (pageMustShow && ts->currentTab() != at->tabPage()) return false;
                at = ts;
                continue;
            }
        }
        at = at->container();
    }
    return at == nullptr;
}

}  // namespace

Rect absoluteRect(const Control& c) {
    Rect r = c.rect();
    const Control* p = parentOf(c);
    for (int depth = 0; p && depth < kMaxDepth; ++depth) {
        r.x += p->rect().x;
        r.y += p->rect().y;
        p = parentOf(*p);
    }
    return r;
}

bool shownNow(const Control& c) {
    return holdsAlongChain(c, [](const Control& k) { return k.visible(); }, true);
}

bool enabledNow(const Control& c) {
    return holdsAlongChain(c, [](const Control& k) { return k.enabled(); }, false);
}

int pageOf(const Control& c) {
    if (c.tabPage() < 0) return -1;
    const TabStrip* ts = tabStripOf(c.form());
    return ts && ts != &c ? c.tabPage() : -1;
}

char mnemonicOf(const std::string& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1])));
    }
    return 0;
}

int scrollTarget(ScrollRequest request, const RangeControl& bar, int trackPos) {
    long long v = bar.value();
    switch (request) {
        case ScrollRequest::LineLeft: v -= bar.smallChange; break;
        case ScrollRequest::LineRight: v += bar.smallChange; break;
        case ScrollRequest::PageLeft: v -= bar.largeChange; break;
        case ScrollRequest::PageRight: v += bar.largeChange; break;
        case ScrollRequest::Left: v = bar.min(); break;
        case ScrollRequest::Right: v = bar.max(); break;
        case ScrollRequest::ThumbPosition: v = trackPos; break;
    }
    return static_cast<int>(std::clamp<long long>(v, bar.min(), bar.max()));
}

int nextCheckState(int value) { return value == 0 ? 1 : 0; }

int optionTabStop(const OptionArray& arr) {
    const int s = arr.selected();
    return s >= 0 ? s : 0;
}

Spacing iconSpacing(int count, int w, int h, Spacing usual, Spacing least) {
    Spacing s;
    if (count <= 0 || w <= 0 || h <= 0 || least.cx <= 0 || least.cy <= 0) return s;
    const int rowsThatFit = std::max(1, h / least.cy);
    const int natural = usual.cx > 0 ? std::max(1, w / usual.cx) : 1;
    int cols = std::max((count + rowsThatFit - 1) / rowsThatFit, natural);
    cols = std::max(1, std::min({cols, count, w / least.cx}));
    const int rows = (count + cols - 1) / cols;
    s.cx = w / cols;
    s.cy = std::max(least.cy, std::min(usual.cy > 0 ? usual.cy : least.cy, h / rows));
    return s;
}

int tabPadding(const std::vector<int>& textWidths, int room, int usual, int least) {
    if (textWidths.empty()) return usual;
    long long text = 0;
    for (int w : textWidths) text += std::max(0, w);
    const long long n = static_cast<long long>(textWidths.size());
    for (int pad = usual; pad >= std::max(least, 0); --pad)
        if (text + n * 2 * pad <= room) return pad;
    return -1;
}

Point centreOver(const PixelRect& over, int w, int h, const PixelRect& work) {
    Point p;
    p.x = over.left + (over.width() - w) / 2;
    p.y = over.top + (over.height() - h) / 2;
    // Off the right or bottom first, then the left and top win: a window
    // larger than the screen shows its title bar.
    p.x = std::max(work.left, std::min(p.x, work.right - w));
    p.y = std::max(work.top, std::min(p.y, work.bottom - h));
    return p;
}

}  // namespace ui::geometry
