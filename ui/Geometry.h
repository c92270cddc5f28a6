// What a realization needs to know about a form's layout and state, free of
// any window system so it can be checked headless: twips to pixels, where a
// control lands in the client area, whether it is on screen and usable,
// and the arithmetic of the user's clicks and scroll moves.
#pragma once
#include <string>
#include <vector>

#include "ui/Controls.h"

namespace ui::geometry {

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

// The form's tab strip (the first it created), or null.
TabStrip* tabStripOf(const Form& form);

// The control's rectangle relative to the form's client area, in twips: its
// own rect is relative to its frame if it has one, else to the tab strip
// when it lies on a page, else to the client area.
Rect absoluteRect(const Control& c);

// On screen: its own visible flag, every container's, and on a page the tab
// strip's with that page the current one.
bool shownNow(const Control& c);
// Enabled: its own flag, every container's, and the tab strip's when on a
// page. Being on another page does not disable a control.
bool enabledNow(const Control& c);
// The tab page the control lies on, directly or through its frames; -1 when
// it is on none (or the form has no tab strip).
int pageOf(const Control& c);

// The access key of a caption ("Effect &1" -> '1'), upper-cased; 0 for none.
// "&&" is a literal ampersand.
char mnemonicOf(const std::string& caption);

// A completed scroll-bar move.
enum class ScrollRequest { LineLeft, LineRight, PageLeft, PageRight, Left, Right, ThumbPosition };

// Where the move leaves `bar`, clamped into its range; trackPos is the
// thumb's position for ThumbPosition.
int scrollTarget(ScrollRequest request, const RangeControl& bar, int trackPos);

// The state a user's click gives a check box: 0 -> 1, 1 -> 0, grayed -> 0.
int nextCheckState(int value);

// The option button of an array that Tab lands on: the selected one, else
// the first.
int optionTabStop(const OptionArray& arr);

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

}  // namespace ui::geometry
