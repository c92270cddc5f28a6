// A form's tooltip window: a tool per control with a tip, and for each a
// second tool on the form itself that covers the control while it cannot
// take the mouse (a disabled control gets no mouse messages; a group box
// lets them through).
#pragma once
#include <windows.h>

#include <string>

#include "ui/Layout.h"

namespace ui::win32 {

class Tooltips {
public:
    // Made once the form is on screen; false when the window could not be.
    bool create(HWND form, HINSTANCE instance, int dpi);
    bool exists() const { return tip_ != nullptr; }
    // Forgets the window, which the form destroys with itself.
    void forget() { tip_ = nullptr; }

    // The control's own tool (skipped with `onFormOnly`) and its tool on
    // the form, numbered `id`; false when the form's tool was not added.
    bool add(HWND control, int id, const std::string& text, bool onFormOnly);
    // The form's tool of `id` covers `at` while `on`, and nothing else.
    void cover(int id, const layout::PixelRect& at, bool on);

private:
    HWND form_ = nullptr;
    HWND tip_ = nullptr;
};

}  // namespace ui::win32
