#include "Layout.h"

#include <cstring>

#include "Internal.h"
#include <commctrl.h>

namespace e2e {

using namespace detail;

namespace {

Box toBox(const RECT& r) { return Box{int(r.left), int(r.top), int(r.right), int(r.bottom)}; }

// The dialog font as the program takes it: the system's message font,
// already sized for the screen's DPI.
HFONT dialogFont() {
    static HFONT font = [] {
        NONCLIENTMETRICSA ncm;
        std::memset(&ncm, 0, sizeof ncm);
        ncm.cbSize = sizeof ncm;
        HFONT f = nullptr;
        if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0))
            f = CreateFontIndirectA(&ncm.lfMessageFont);
        return f ? f : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }();
    return font;
}

// A rectangle the program fills in, read back in screen coordinates.
Box remoteRect(HWND h, UINT msg, WPARAM wp, RECT in, const std::string& what) {
    Remote mem(h, sizeof(RECT));
    mem.write(0, &in, sizeof in);
    if (!send(h, msg, wp, LPARAM(mem.at(0)), what)) throw Failure(what + ": no rectangle (message " + hex(msg) + ")");
    RECT r = {};
    mem.read(0, &r, sizeof r);
    MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return toBox(r);
}

std::string controlName(const Control& c) { return c.name().empty() ? classOf(H(c.hwnd())) : c.name(); }

}  // namespace

std::string Box::describe() const {
    return "(" + std::to_string(left) + "," + std::to_string(top) + ")-(" + std::to_string(right) + "," +
           std::to_string(bottom) + ")";
}

Look lookOf(const Control& c) {
    HWND h = H(c.hwnd());
    const std::string cls = lower(classOf(h));
    const LONG style = GetWindowLongA(h, GWL_STYLE);
    if (cls == "button") {
        switch (style & BS_TYPEMASK) {
            case BS_PUSHBUTTON:
            case BS_DEFPUSHBUTTON: return Look::Button;
            case BS_CHECKBOX:
            case BS_AUTOCHECKBOX:
            case BS_3STATE:
            case BS_AUTO3STATE: return Look::CheckBox;
            case BS_RADIOBUTTON:
            case BS_AUTORADIOBUTTON: return Look::Option;
            case BS_GROUPBOX: return Look::GroupBox;
            default: return Look::Other;
        }
    }
    if (cls == "static") {
        switch (style & SS_TYPEMASK) {
            case SS_OWNERDRAW:
            case SS_ICON:
            case SS_BITMAP:
            case SS_ENHMETAFILE: return Look::Picture;
            default: return Look::Label;
        }
    }
    if (cls == "edit") return Look::TextBox;
    if (cls == "combobox") return Look::ComboList;
    if (cls == "scrollbar") return Look::ScrollBar;
    if (cls == lower(TRACKBAR_CLASSA)) return Look::Slider;
    if (cls == lower(WC_TABCONTROLA)) return Look::TabStrip;
    if (cls == lower(WC_LISTVIEWA)) return Look::ListView;
    return Look::Other;
}

const char* toString(Look l) {
    switch (l) {
        case Look::Button: return "button";
        case Look::CheckBox: return "check box";
        case Look::Option: return "option button";
        case Look::GroupBox: return "frame";
        case Look::Label: return "label";
        case Look::Picture: return "picture";
        case Look::TextBox: return "text box";
        case Look::ComboList: return "drop-down list";
        case Look::ScrollBar: return "scroll bar";
        case Look::Slider: return "slider";
        case Look::TabStrip: return "tab strip";
        case Look::ListView: return "list view";
        case Look::Other: return "other";
    }
    return "?";
}

std::vector<Control> childrenOf(const Window& w) {
    std::vector<Control> v;
    for (HWND h = GetWindow(H(w.hwnd()), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) v.emplace_back(h, qmName(h));
    return v;
}

Box screenBox(const Control& c) {
    HWND h = H(c.hwnd());
    RECT r = {};
    if (!GetWindowRect(h, &r)) throw Failure("no rectangle for " + controlName(c));
    return toBox(r);
}

Box clientBox(const Control& c) {
    HWND h = H(c.hwnd());
    RECT r = {};
    if (!GetClientRect(h, &r)) throw Failure("no client area for " + controlName(c));
    MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return toBox(r);
}

Box tabPageBox(const Control& tabs) {
    HWND h = H(tabs.hwnd());
    RECT r = {};
    GetClientRect(h, &r);
    Remote mem(h, sizeof(RECT));
    mem.write(0, &r, sizeof r);
    send(h, TCM_ADJUSTRECT, FALSE, LPARAM(mem.at(0)), controlName(tabs));
    mem.read(0, &r, sizeof r);
    MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return toBox(r);
}

Box tabItemBox(const Control& tabs, int i) {
    return remoteRect(H(tabs.hwnd()), TCM_GETITEMRECT, WPARAM(i), RECT{}, controlName(tabs));
}

int tabRows(const Control& tabs) { return int(send(H(tabs.hwnd()), TCM_GETROWCOUNT, 0, 0, controlName(tabs))); }

Box listItemBox(const Control& list, int i) {
    RECT in = {};
    in.left = LVIR_BOUNDS;
    return remoteRect(H(list.hwnd()), LVM_GETITEMRECT, WPARAM(i), in, controlName(list));
}

bool showsScrollBar(const Control& c) {
    return (GetWindowLongA(H(c.hwnd()), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)) != 0;
}

bool showsWindowIcon(const Window& w) {
    HWND h = H(w.hwnd());
    if (!(GetWindowLongA(h, GWL_STYLE) & WS_SYSMENU)) return false;
    // Wine will not tell another process a class's icon; the program's
    // forms register none, so the window's own are the ones that count.
    // (Wine's SendMessageTimeout reports a window without an icon as no
    // answer, so the answer alone is read.)
    for (WPARAM size : {ICON_SMALL, ICON_BIG}) {
        DWORD_PTR icon = 0;
        SendMessageTimeoutW(h, WM_GETICON, size, 0, SMTO_NORMAL, UINT(scaled(kStepTimeout)), &icon);
        if (icon) return true;
    }
    return !(GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
}

bool hasImageList(const Control& list, bool small) {
    return send(H(list.hwnd()), LVM_GETIMAGELIST, small ? LVSIL_SMALL : LVSIL_NORMAL, 0, controlName(list)) != 0;
}

Box workArea() {
    RECT r = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    return toBox(r);
}

int screenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

Extent captionExtent(const std::string& caption, int wrapWidth) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, dialogFont());
    RECT r = {0, 0, wrapWidth > 0 ? wrapWidth : 100000, 0};
    const UINT how = DT_CALCRECT | (wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE);
    // An empty caption still takes a line, as DrawText counts it.
    const std::string text = caption.empty() ? " " : caption;
    DrawTextA(dc, text.c_str(), int(text.size()), &r, how);
    SelectObject(dc, old);
    DeleteDC(dc);
    return Extent{int(r.right - r.left), int(r.bottom - r.top)};
}

int lineHeight() {
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, dialogFont());
    TEXTMETRICA tm = {};
    GetTextMetricsA(screen, &tm);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return int(tm.tmHeight);
}

std::string dialogFontFace() {
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, dialogFont());
    char face[LF_FACESIZE] = {0};
    GetTextFaceA(screen, LF_FACESIZE, face);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return face;
}

void moveControlBy(const Control& c, int dx, int dy, int dw, int dh) {
    HWND h = H(c.hwnd());
    RECT r = {};
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
    if (!SetWindowPos(h, nullptr, r.left + dx, r.top + dy, r.right - r.left + dw, r.bottom - r.top + dh,
                      SWP_NOZORDER | SWP_NOACTIVATE))
        throw Failure("cannot move " + controlName(c));
    send(h, WM_NULL, 0, 0, controlName(c));
}

}  // namespace e2e
