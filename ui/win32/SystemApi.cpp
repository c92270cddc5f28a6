#include "ui/win32/SystemApi.h"

namespace ui::win32 {

namespace {

// A function of dll by name or ordinal; null without either.
template <class Fn>
Fn procIn(HMODULE dll, const char* name) {
    return dll ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(dll, name))) : nullptr;
}

struct Theming {
    decltype(&IsAppThemed) isAppThemed;
    decltype(&GetWindowTheme) getWindowTheme;
    decltype(&DrawThemeBackground) drawThemeBackground;
};

const Theming& theming() {
    static const Theming t = [] {
        HMODULE dll = LoadLibraryA("uxtheme.dll");
        return Theming{procIn<decltype(&IsAppThemed)>(dll, "IsAppThemed"),
                       procIn<decltype(&GetWindowTheme)>(dll, "GetWindowTheme"),
                       procIn<decltype(&DrawThemeBackground)>(dll, "DrawThemeBackground")};
    }();
    return t;
}

struct Subclassing {
    decltype(&SetWindowSubclass) set;
    decltype(&RemoveWindowSubclass) remove;
    decltype(&DefSubclassProc) def;
};

// All three from the one comctl32 the program's controls come from (version
// 6 under visual styles), or none.
const Subclassing& subclassing() {
    static const Subclassing s = [] {
        HMODULE dll = LoadLibraryA("comctl32.dll");
        Subclassing f{procIn<decltype(&SetWindowSubclass)>(dll, MAKEINTRESOURCEA(410)),
                      procIn<decltype(&RemoveWindowSubclass)>(dll, MAKEINTRESOURCEA(412)),
                      procIn<decltype(&DefSubclassProc)>(dll, MAKEINTRESOURCEA(413))};
        if (!f.set || !f.remove || !f.def) f = {};
        return f;
    }();
    return s;
}

}  // namespace

bool appThemed() {
    const Theming& t = theming();
    return t.isAppThemed && t.getWindowTheme && t.drawThemeBackground && t.isAppThemed();
}

HTHEME windowTheme(HWND h) { return appThemed() ? theming().getWindowTheme(h) : nullptr; }

HRESULT drawThemeBackground(HTHEME theme, HDC dc, int part, int state, const RECT* rect, const RECT* clip) {
    return appThemed() ? theming().drawThemeBackground(theme, dc, part, state, rect, clip) : E_NOTIMPL;
}

BOOL setWindowSubclass(HWND h, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR ref) {
    const Subclassing& s = subclassing();
    return s.set && s.set(h, proc, id, ref);
}

LRESULT defSubclassProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    const Subclassing& s = subclassing();
    return s.def ? s.def(h, msg, wp, lp) : DefWindowProcA(h, msg, wp, lp);
}

BOOL removeWindowSubclass(HWND h, SUBCLASSPROC proc, UINT_PTR id) {
    const Subclassing& s = subclassing();
    return s.remove && s.remove(h, proc, id);
}

}  // namespace ui::win32
