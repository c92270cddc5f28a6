#include "ui/Layout.h"

#include <algorithm>
#include <cstdint>

#include "ui/Form.h"

namespace ui::layout {

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

Rect absoluteRect(const Control& c) {
    Rect r{0, 0, c.rect().w, c.rect().h};
    c.walkOut([&r](const Control& k) {
        r.x += k.rect().x;
        r.y += k.rect().y;
        return true;
    });
    return r;
}

int pageOf(const Control& c) {
    if (c.tabPage() < 0) return -1;
    const TabStrip* ts = c.form().tabStrip();
    return ts && ts != &c ? c.tabPage() : -1;
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

}  // namespace ui::layout
