// A form's own commands in its window's system menu, below the standard
// items and a separator.
#pragma once
#include <windows.h>

#include "ui/Form.h"

namespace ui::win32::systemmenu {

// Appends the form's commands; nothing when it has none.
void install(HWND window, const Form& form);
// Greys or enables them as the form says; for WM_INITMENUPOPUP of the
// system menu.
void refresh(HWND window, const Form& form);
// The form's command a WM_SYSCOMMAND names, or -1 for a standard one.
int commandOf(WPARAM wp, const Form& form);

}  // namespace ui::win32::systemmenu
