// Where things are on the screen and how they look: rectangles of windows,
// controls, tabs and list entries, what a control is drawn as, the dialog
// font's measures, and the screen's.
#pragma once
#include <string>
#include <vector>

#include "Controls.h"

namespace e2e {

// A rectangle in screen pixels.
struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    bool contains(const Box& o) const {
        return o.left >= left && o.top >= top && o.right <= right && o.bottom <= bottom;
    }
    bool overlaps(const Box& o) const {
        return !empty() && !o.empty() && o.left < right && left < o.right && o.top < bottom && top < o.bottom;
    }
    std::string describe() const;  // "(10,20)-(30,40)"
    bool operator==(const Box& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const Box& o) const { return !(*this == o); }
};

// What a child window is drawn as, told by its class and style.
enum class Look { Button, CheckBox, Option, GroupBox, Label, Picture, TextBox, ComboList, ScrollBar, Slider, TabStrip,
                  ListView, Other };
Look lookOf(const Control& c);
const char* toString(Look l);

// The controls directly on a window, in its Tab order (child window order).
std::vector<Control> childrenOf(const Window& w);
// A control's rectangle on the screen (a drop-down list's closed field, as
// Windows keeps it).
Box screenBox(const Control& c);
// A window's client area on the screen.
Box clientBox(const Control& c);
// The page of a tab strip: inside its border and below its tabs.
Box tabPageBox(const Control& tabs);
// The rectangle of tab `i` of a tab strip, and how many rows the tabs take.
Box tabItemBox(const Control& tabs, int i);
int tabRows(const Control& tabs);
// The rectangle of entry `i` of a list view (icon and label).
Box listItemBox(const Control& list, int i);
// Whether the control shows a scroll bar of its own.
bool showsScrollBar(const Control& c);
// Whether a window's title bar shows an icon, as the system decides: one the
// window was given, else the default one that only a modal frame leaves out.
bool showsWindowIcon(const Window& w);
// Whether a list view has an image list for its large or its small icons.
bool hasImageList(const Control& list, bool small);
// The screen's work area, and its pixels per inch as this process sees it
// (the program in the same prefix sees the same).
Box workArea();
int screenDpi();

// Pixels a caption takes in the system's dialog font ('&' marks a
// mnemonic): on one line, or wrapped at words into `wrapWidth`.
struct Extent {
    int width = 0, height = 0;
};
Extent captionExtent(const std::string& caption, int wrapWidth = 0);
// The height of a line of the dialog font.
int lineHeight();
// The face the system draws the dialog font with ("Tahoma" on XP; a Wine
// prefix without Tahoma gives a wider stand-in).
std::string dialogFontFace();

// Moves a control by dx, dy and grows it by dw, dh pixels behind the
// program's back: for checking that layout checks see a misplaced control.
void moveControlBy(const Control& c, int dx, int dy, int dw, int dh);

}  // namespace e2e
