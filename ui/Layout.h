// The arithmetic of a form's layout, free of any window system so it can be
// checked headless: twips to pixels, where a control lands in the client
// area, and how the lists, tabs and dialogs are fitted and placed.
#pragma once
#include <vector>

#include "ui/Controls.h"

namespace ui::layout {

// Device pixels, relative to the form's client area.
struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

// twips * dpi / 1440, rounded half away from zero as Windows' MulDiv does.
int twipsToPixels(int twips, int dpi);

// Converts the edges rather than the width, so controls that touch in
// twips still touch in pixels.
PixelRect toPixels(const Rect& twips, int dpi);

// The control's rectangle relative to the form's client area, in twips: its
// own rect is relative to its frame if it has one, else to the tab strip
// when it lies on a page, else to the client area.
Rect absoluteRect(const Control& c);

// The tab page the control lies on, directly or through its frames; -1 when
// it is on none (or the form has no tab strip).
int pageOf(const Control& c);

// Icon-view spacing for `count` entries in a list of w x h pixels, given
// the list's usual spacing and the least cell that still holds an icon with
// two lines of text: at least as many columns as the usual spacing gives,
// more when the rows would not fit the height, the entries spread evenly
// over the width, rows no taller than usual.
struct Spacing {
    int cx = 0, cy = 0;
};
Spacing iconSpacing(int count, int w, int h, Spacing usual, Spacing least);

// Padding of tabs as wide as their captions (`textWidths`) so that all fit
// one row `room` pixels wide: `usual` when that fits, else the widest that
// does down to `least`; -1 when none does (the tabs then share the width).
int tabPadding(const std::vector<int>& textWidths, int room, int usual, int least);

// Top-left corner of a window of w x h centred over `over`, kept inside
// `work` (the screen's work area) as far as it fits.
struct Point {
    int x = 0, y = 0;
};
Point centreOver(const PixelRect& over, int w, int h, const PixelRect& work);

}  // namespace ui::layout
