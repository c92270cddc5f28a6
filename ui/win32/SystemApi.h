// The system calls that not every Windows the program starts on has, found
// when first used: Windows 2000 has no uxtheme.dll, and its comctl32 (5.81)
// exports the subclass calls by ordinal only. Without them there are no
// visual styles, and a control stays unsubclassed.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>

namespace ui::win32 {

// IsAppThemed, GetWindowTheme and DrawThemeBackground; without uxtheme.dll
// no program is themed, no window has a theme and nothing is drawn.
bool appThemed();
HTHEME windowTheme(HWND h);
HRESULT drawThemeBackground(HTHEME theme, HDC dc, int part, int state, const RECT* rect, const RECT* clip);

// SetWindowSubclass, DefSubclassProc and RemoveWindowSubclass, taken from
// comctl32 by ordinal; where it has none, setWindowSubclass fails.
BOOL setWindowSubclass(HWND h, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR ref);
LRESULT defSubclassProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
BOOL removeWindowSubclass(HWND h, SUBCLASSPROC proc, UINT_PTR id);

}  // namespace ui::win32
