// The background of the tab strip's pages. Under visual styles a page is
// not plain button face: a picture of it is kept, so that the form and what
// lies on a page paint the same background. Without them all is button face.
#pragma once
#include <windows.h>

#include "ui/Layout.h"

namespace ui::win32 {

class PageBackground {
public:
    PageBackground() = default;
    PageBackground(const PageBackground&) = delete;
    PageBackground& operator=(const PageBackground&) = delete;
    ~PageBackground() { free(); }

    // Takes the page from the tab strip `tabs` lying at `at`; none when
    // `tabs` is null or the strip is not themed.
    void render(HWND tabs, const layout::PixelRect& at);
    void free();
    bool themed() const { return brush_ != nullptr; }

    // The form's client area: button face, the page over the strip.
    void paintForm(HDC dc, HWND form) const;
    // What lies under a control at `at` (on a page when `onPage`), painted
    // in the control's own coordinates over w x h.
    void fillUnder(HDC dc, const layout::PixelRect& at, bool onPage, int w, int h) const;
    // For WM_CTLCOLOR*: a control on a page draws its text over the page;
    // false (nothing set) when the page is plain.
    bool colour(HDC dc, const layout::PixelRect& at, LRESULT& brush) const;

private:
    void fill(HDC dc, const RECT& r, int x, int y) const;

    layout::PixelRect strip_;  // the tab strip's place on the form
    HBITMAP bitmap_ = nullptr;
    HBRUSH brush_ = nullptr;
};

}  // namespace ui::win32
