// The tab pages' background; see PageBackground.h.
#include "ui/win32/PageBackground.h"

#include <uxtheme.h>
#include <vssym32.h>

#include "ui/win32/Handles.h"
#include "ui/win32/SystemApi.h"

namespace ui::win32 {

namespace {

// The page brush tiles its strip from the tab strip's corner, which lies at
// (x, y) in the DC's logical units; brush origins count in device units (a
// DC handed over for printing is offset).
POINT pageOrigin(HDC dc, int x, int y) {
    POINT o = {x, y};
    LPtoDP(dc, &o, 1);
    return o;
}

}  // namespace

void PageBackground::render(HWND tabs, const layout::PixelRect& at) {
    free();
    strip_ = at;
    if (!tabs || !appThemed()) return;
    const int w = at.width(), h = at.height();
    if (w <= 0 || h <= 0) return;
    HTHEME theme = windowTheme(tabs);
    if (!theme) return;
    // The themed page body changes only from top to bottom, so a narrow
    // strip, tiled by the brush, stands for all of it.
    const int strip = w > 64 ? 16 : w;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, strip, h);
    ReleaseDC(nullptr, screen);
    if (!mem || !bitmap_) {
        if (mem) DeleteDC(mem);
        free();
        return;
    }
    HGDIOBJ old = SelectObject(mem, bitmap_);
    RECT all = {0, 0, strip, h};
    FillRect(mem, &all, GetSysColorBrush(COLOR_BTNFACE));
    // The page as the tab strip draws it: the theme's pane from just below
    // its rows of tabs. Asking the strip to print itself would draw every
    // tab as well, at a third of the cost of its whole paint.
    const TabWnd t{tabs};
    RECT item = {};
    t.itemRect(0, item);
    const int left = strip < w ? -(w / 2) : 0;
    RECT pane = {left, t.rows() * (item.bottom - item.top) + 2, left + w, h};
    drawThemeBackground(theme, mem, TABP_PANE, 0, &pane, nullptr);
    SelectObject(mem, old);
    DeleteDC(mem);
    brush_ = CreatePatternBrush(bitmap_);
}

void PageBackground::free() {
    if (brush_) DeleteObject(brush_);
    if (bitmap_) DeleteObject(bitmap_);
    brush_ = nullptr;
    bitmap_ = nullptr;
}

void PageBackground::paintForm(HDC dc, HWND form) const {
    RECT rc;
    GetClientRect(form, &rc);
    FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
    if (!brush_) return;
    RECT page = {strip_.left, strip_.top, strip_.right, strip_.bottom};
    fill(dc, page, strip_.left, strip_.top);
}

void PageBackground::fillUnder(HDC dc, const layout::PixelRect& at, bool onPage, int w, int h) const {
    RECT rc = {0, 0, w, h};
    if (!brush_ || !onPage) {
        FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    fill(dc, rc, strip_.left - at.left, strip_.top - at.top);
}

bool PageBackground::colour(HDC dc, const layout::PixelRect& at, LRESULT& brush) const {
    if (!brush_) return false;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    const POINT o = pageOrigin(dc, strip_.left - at.left, strip_.top - at.top);
    SetBrushOrgEx(dc, o.x, o.y, nullptr);
    brush = reinterpret_cast<LRESULT>(brush_);
    return true;
}

void PageBackground::fill(HDC dc, const RECT& r, int x, int y) const {
    const POINT o = pageOrigin(dc, x, y);
    POINT before;
    SetBrushOrgEx(dc, o.x, o.y, &before);
    FillRect(dc, &r, brush_);
    SetBrushOrgEx(dc, before.x, before.y, nullptr);
}

}  // namespace ui::win32
