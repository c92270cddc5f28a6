// Labels, text boxes, frames and pictures: what shows a text or a drawing
// and, but for the text box, never takes the focus.
#include "ui/win32/Peers.h"

#include <cstring>

#include "ui/win32/Drawings.h"
#include "ui/win32/PageBackground.h"

namespace ui::win32 {

// ------------------------------------------------------------ label

ControlPeer::Style LabelPeer::style() const {
    DWORD s = l_.alignRight ? SS_RIGHT : l_.alignCenter ? SS_CENTER : SS_LEFT;
    // A static is transparent to the mouse unless it notifies, and then its
    // tooltip would never show.
    if (!l_.tooltip().empty()) s |= SS_NOTIFY;
    return {"STATIC", s, 0, true};
}

LabelPeer::~LabelPeer() {
    if (font_) DeleteObject(font_);
}

// A heading's own font: the dialog font with the label's face, size and
// weight.
HFONT LabelPeer::font() {
    if (l_.fontName.empty() && l_.fontPoints <= 0 && !l_.bold) return host_.font();
    LOGFONTA lf;
    if (GetObjectA(host_.font(), sizeof lf, &lf) != sizeof lf) return host_.font();
    if (!l_.fontName.empty()) {
        std::memset(lf.lfFaceName, 0, sizeof lf.lfFaceName);
        std::strncpy(lf.lfFaceName, l_.fontName.c_str(), LF_FACESIZE - 1);
    }
    if (l_.fontPoints > 0) {
        lf.lfHeight = -static_cast<LONG>(l_.fontPoints * host_.dpi() / 72 + 0.5);
        lf.lfWidth = 0;
    }
    lf.lfWeight = l_.bold ? FW_BOLD : FW_NORMAL;
    if (!font_) font_ = CreateFontIndirectA(&lf);
    return font_ ? font_ : host_.font();
}

// ------------------------------------------------------------ text box

ControlPeer::Style TextBoxPeer::style() const {
    return {"EDIT", WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT | (t_.readOnly ? static_cast<DWORD>(ES_READONLY) : 0u),
            WS_EX_CLIENTEDGE, true};
}

void TextBoxPeer::command(int code) {
    if (code != EN_CHANGE) return;
    const std::string text = wnd_.text();
    TextBox& t = t_;
    host_.toModel([&t, &text] { t.setText(text); });
}

void TextBoxPeer::takeFocus() {
    SetFocus(wnd_.h);
    EditWnd{wnd_.h}.selectAll();
}

// ------------------------------------------------------------ frame

int FramePeer::containerDepth() const {
    // Itself and the frames around it; the tab strip is 0.
    int depth = 0;
    c_.walkOut([&depth](const Control& k) {
        ++depth;
        return k.container() != nullptr;
    });
    return depth;
}

bool FramePeer::ownMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    if (msg != WM_ERASEBKGND) return false;
    // A group box leaves its inside unpainted; paint what lies under it.
    RECT rc;
    GetClientRect(wnd_.h, &rc);
    host_.page().fillUnder(reinterpret_cast<HDC>(wp), px_, seesPage(), rc.right, rc.bottom);
    result = 1;
    return true;
}

// ------------------------------------------------------------ picture

ControlPeer::Style PicturePeer::style() const {
    return {"STATIC", SS_OWNERDRAW | (p_.tooltip().empty() ? 0u : static_cast<DWORD>(SS_NOTIFY))};
}

void PicturePeer::draw(const DRAWITEMSTRUCT& dis) {
    const int w = dis.rcItem.right - dis.rcItem.left, h = dis.rcItem.bottom - dis.rcItem.top;
    if (w <= 0 || h <= 0) return;
    // Drawn off screen and copied at once, so it never flickers.
    HDC mem = CreateCompatibleDC(dis.hDC);
    HBITMAP bmp = CreateCompatibleBitmap(dis.hDC, w, h);
    if (!mem || !bmp) {
        if (mem) DeleteDC(mem);
        if (bmp) DeleteObject(bmp);
        return;
    }
    HGDIOBJ old = SelectObject(mem, bmp);
    host_.page().fillUnder(mem, px_, seesPage(), w, h);
    RECT box = {0, 0, w, h};
    drawImage(mem, p_.image, box);
    BitBlt(dis.hDC, dis.rcItem.left, dis.rcItem.top, w, h, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(bmp);
}

}  // namespace ui::win32
