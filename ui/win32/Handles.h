// Thin typed handles over the child windows, one per control class, so the
// code that drives them reads as what it does rather than as raw messages.
// Each is a window handle and nothing more: copy them freely.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace ui::win32 {

struct Window {
    HWND h = nullptr;

    LRESULT send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return SendMessageA(h, msg, wp, lp); }
    template <typename T>
    LRESULT sendPtr(UINT msg, WPARAM wp, T* p) const {
        return SendMessageA(h, msg, wp, reinterpret_cast<LPARAM>(p));
    }

    std::string text() const {
        const int n = GetWindowTextLengthA(h);
        std::string s(static_cast<std::size_t>(n) + 1, '\0');
        const int got = GetWindowTextA(h, &s[0], n + 1);
        s.resize(static_cast<std::size_t>(std::max(got, 0)));
        return s;
    }
    void setText(const std::string& t) const {
        if (text() != t) SetWindowTextA(h, t.c_str());
    }
    void setFont(HFONT f) const { send(WM_SETFONT, reinterpret_cast<WPARAM>(f), FALSE); }
    LONG style() const { return GetWindowLongA(h, GWL_STYLE); }
    // Sets or clears `bits` of the style, touching the window only on a change.
    void setStyleBits(LONG bits, bool on) const {
        const LONG s = style();
        const LONG want = on ? (s | bits) : (s & ~bits);
        if (want != s) SetWindowLongA(h, GWL_STYLE, want);
    }
    UINT dialogCode() const { return static_cast<UINT>(send(WM_GETDLGCODE)); }
    bool visible() const { return IsWindowVisible(h) != FALSE; }
    bool enabled() const { return IsWindowEnabled(h) != FALSE; }
    // Follows the model without activating anything.
    void showAndEnable(bool shown, bool enabled) const {
        const bool isShown = (style() & WS_VISIBLE) != 0;
        if (shown != isShown) ShowWindow(h, shown ? SW_SHOWNA : SW_HIDE);
        EnableWindow(h, enabled);
    }
    void resize(int w, int ht) const { SetWindowPos(h, nullptr, 0, 0, w, ht, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE); }
    void stackAfter(HWND after) const {
        SetWindowPos(h, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    void redraw() const { InvalidateRect(h, nullptr, FALSE); }
};

struct ButtonWnd : Window {
    // 0 unchecked, 1 checked, 2 grayed.
    void setCheck(int state) const {
        send(BM_SETCHECK, state == 2 ? BST_INDETERMINATE : state ? BST_CHECKED : BST_UNCHECKED);
    }
    // A push button's thick border: the one Enter presses.
    void showAsDefault(bool on) const {
        const LONG s = style();
        const LONG type = on ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        if ((s & BS_TYPEMASK) != type) send(BM_SETSTYLE, (s & 0xFFFF & ~BS_TYPEMASK) | type, TRUE);
    }
};

struct ComboBoxWnd : Window {
    void setItems(const std::vector<std::string>& items) const {
        send(CB_RESETCONTENT);
        for (const std::string& s : items) sendPtr(CB_ADDSTRING, 0, s.c_str());
    }
    int count() const { return static_cast<int>(send(CB_GETCOUNT)); }
    int itemHeight() const { return static_cast<int>(send(CB_GETITEMHEIGHT)); }
    int selection() const { return static_cast<int>(send(CB_GETCURSEL)); }
    void select(int i) const { send(CB_SETCURSEL, static_cast<WPARAM>(i)); }
};

struct ScrollBarWnd : Window {
    void setRange(int min, int max, int pos) const {
        SCROLLINFO si;
        std::memset(&si, 0, sizeof si);
        si.cbSize = sizeof si;
        si.fMask = SIF_RANGE | SIF_POS | SIF_PAGE;
        si.nMin = min;
        si.nMax = max;
        si.nPos = pos;
        SetScrollInfo(h, SB_CTL, &si, TRUE);
    }
    int trackPos() const {
        SCROLLINFO si;
        std::memset(&si, 0, sizeof si);
        si.cbSize = sizeof si;
        si.fMask = SIF_ALL;
        GetScrollInfo(h, SB_CTL, &si);
        return si.nTrackPos;
    }
    void moveThumb(int pos) const { SetScrollPos(h, SB_CTL, pos, TRUE); }
};

struct TrackbarWnd : Window {
    void setRange(int min, int max) const {
        send(TBM_SETRANGEMIN, FALSE, min);
        send(TBM_SETRANGEMAX, FALSE, max);
    }
    void setSteps(int line, int page) const {
        send(TBM_SETLINESIZE, 0, line);
        send(TBM_SETPAGESIZE, 0, page);
    }
    void setTickEvery(int n) const { send(TBM_SETTICFREQ, static_cast<WPARAM>(n)); }
    int pos() const { return static_cast<int>(send(TBM_GETPOS)); }
    void setPos(int p) const { send(TBM_SETPOS, TRUE, p); }
};

struct TabWnd : Window {
    void insert(int n, const std::string& caption) const {
        std::vector<char> text(caption.begin(), caption.end());
        text.push_back('\0');
        TCITEMA item;
        std::memset(&item, 0, sizeof item);
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        sendPtr(TCM_INSERTITEMA, static_cast<WPARAM>(n), &item);
    }
    int selection() const { return static_cast<int>(send(TCM_GETCURSEL)); }
    void select(int i) const { send(TCM_SETCURSEL, static_cast<WPARAM>(i)); }
    bool itemRect(int i, RECT& r) const { return sendPtr(TCM_GETITEMRECT, static_cast<WPARAM>(i), &r) != 0; }
    int rows() const { return static_cast<int>(send(TCM_GETROWCOUNT)); }
    void setMinTabWidth(int w) const { send(TCM_SETMINTABWIDTH, 0, w); }
    void setPadding(int x, int y) const { send(TCM_SETPADDING, 0, MAKELPARAM(x, y)); }
    // Returns the size the tabs had.
    LRESULT setItemSize(int w, int ht) const { return send(TCM_SETITEMSIZE, 0, MAKELPARAM(w, ht)); }
};

struct ListViewWnd : Window {
    void setImageList(HIMAGELIST il, int which) const { send(LVM_SETIMAGELIST, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(il)); }
    void clear() const { send(LVM_DELETEALLITEMS); }
    void insert(int n, const std::string& caption, int image) const {
        std::vector<char> text(caption.begin(), caption.end());
        text.push_back('\0');
        LVITEMA item;
        std::memset(&item, 0, sizeof item);
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = n;
        item.pszText = text.data();
        item.iImage = image;
        sendPtr(LVM_INSERTITEMA, 0, &item);
    }
    // Counted from 1; 0 for none.
    int selected() const { return static_cast<int>(send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)) + 1; }
    void select(int n) const {
        LVITEMA item;
        std::memset(&item, 0, sizeof item);
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        sendPtr(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), &item);
        if (n <= 0) return;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        sendPtr(LVM_SETITEMSTATE, static_cast<WPARAM>(n - 1), &item);
        send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(n - 1), FALSE);
    }
    DWORD iconSpacing() const { return static_cast<DWORD>(send(LVM_GETITEMSPACING, FALSE)); }
    void setIconSpacing(int cx, int cy) const { send(LVM_SETICONSPACING, 0, MAKELPARAM(cx, cy)); }
};

struct EditWnd : Window {
    void selectAll() const { send(EM_SETSEL, 0, -1); }
};

}  // namespace ui::win32
