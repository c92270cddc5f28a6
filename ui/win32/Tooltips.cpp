// The tooltips of a form's controls; see Tooltips.h.
#include "ui/win32/Tooltips.h"

#include <commctrl.h>

#include <cstring>
#include <vector>

namespace ui::win32 {

namespace {

// Tool ids of the tools on the form, clear of the controls' window handles.
constexpr UINT_PTR kFormToolBase = 0x10000;

TOOLINFOA toolInfo(HWND owner) {
    TOOLINFOA ti;
    std::memset(&ti, 0, sizeof ti);
    // The size comctl32 5.8 and 6 both accept.
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.hwnd = owner;
    return ti;
}

}  // namespace

bool Tooltips::create(HWND form, HINSTANCE instance, int dpi) {
    form_ = form;
    tip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form, nullptr, instance,
                           nullptr);
    if (tip_) SendMessageA(tip_, TTM_SETMAXTIPWIDTH, 0, MulDiv(300, dpi, 96));
    return tip_ != nullptr;
}

bool Tooltips::add(HWND control, int id, const std::string& text, bool onFormOnly) {
    if (!tip_) return false;
    std::vector<char> buf(text.begin(), text.end());
    buf.push_back('\0');
    TOOLINFOA ti = toolInfo(form_);
    ti.lpszText = buf.data();
    if (!onFormOnly) {
        ti.uFlags = TTF_SUBCLASS | TTF_IDISHWND;
        ti.uId = reinterpret_cast<UINT_PTR>(control);
        SendMessageA(tip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    }
    ti.uFlags = TTF_SUBCLASS;
    ti.uId = kFormToolBase + static_cast<UINT_PTR>(id);
    SetRectEmpty(&ti.rect);
    return SendMessageA(tip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti)) != 0;
}

void Tooltips::cover(int id, const layout::PixelRect& at, bool on) {
    if (!tip_) return;
    TOOLINFOA ti = toolInfo(form_);
    ti.uId = kFormToolBase + static_cast<UINT_PTR>(id);
    if (on) ti.rect = {at.left, at.top, at.right, at.bottom};
    else SetRectEmpty(&ti.rect);
    SendMessageA(tip_, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&ti));
}

}  // namespace ui::win32
