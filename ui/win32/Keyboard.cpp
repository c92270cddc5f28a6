// A form's keyboard and focus; see Keyboard.h.
#include "ui/win32/Keyboard.h"

#include <cctype>

namespace ui::win32 {

bool Keyboard::preTranslate(MSG& msg) {
    const HWND form = host_.window();
    if (!(msg.hwnd == form || IsChild(form, msg.hwnd))) return false;
    if (msg.message == WM_KEYDOWN) {
        const bool ctrl = GetKeyState(VK_CONTROL) < 0;
        if (ctrl && (msg.wParam == VK_TAB || msg.wParam == VK_NEXT || msg.wParam == VK_PRIOR)) {
            const bool back = msg.wParam == VK_PRIOR || (msg.wParam == VK_TAB && GetKeyState(VK_SHIFT) < 0);
            for (const auto& p : peers_)
                if (p->stepPage(back)) return true;
            return false;
        }
        if (msg.wParam == VK_RETURN) {
            // The list view starts its entry on Enter; the dialog manager
            // would press the default button instead.
            const ControlPeer* f = host_.peerAt(GetFocus());
            if (f && f->takesEnter()) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
                return true;
            }
        }
        return false;
    }
    if (msg.message == WM_MOUSEWHEEL) {
        ControlPeer* f = host_.peerAt(GetFocus());
        return f && f->wheel(GET_WHEEL_DELTA_WPARAM(msg.wParam) / WHEEL_DELTA);
    }
    if (msg.message == WM_SYSCHAR || msg.message == WM_CHAR) {
        if (msg.message == WM_CHAR) {
            const Window f{GetFocus()};
            if (f.h && (SendMessageA(f.h, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) &
                        (DLGC_WANTCHARS | DLGC_WANTALLKEYS | DLGC_HASSETSEL)))
                return false;
        }
        return mnemonic(static_cast<char>(msg.wParam));
    }
    return false;
}

bool Keyboard::dialogMessage(MSG& msg) {
    arrowKey_ = msg.message == WM_KEYDOWN && msg.wParam >= VK_LEFT && msg.wParam <= VK_DOWN;
    const BOOL taken = IsDialogMessageA(host_.window(), &msg);
    arrowKey_ = false;
    return taken != FALSE;
}

// Access keys of labels and frames move the focus to what follows them in
// reading order; the layout's stacking puts frames elsewhere, so the dialog
// manager would pick the wrong control. Buttons and boxes it presses itself.
bool Keyboard::mnemonic(char key) {
    const char k = static_cast<char>(std::toupper(static_cast<unsigned char>(key)));
    if (!k) return false;
    for (std::size_t i = 0; i < peers_.size(); ++i) {
        const ControlPeer& p = *peers_[i];
        if (!p.hwnd() || !p.showsCaption() || p.control().accessKey() != k || !p.window().visible()) continue;
        if (p.leadsToNext()) {
            focusAfter(i);
            return true;
        }
        if (p.window().enabled()) return false;
    }
    return false;
}

void Keyboard::focusAfter(std::size_t i) {
    for (std::size_t j = i + 1; j < peers_.size(); ++j) {
        ControlPeer& p = *peers_[j];
        if (!p.focusable() || !p.reachable()) continue;
        p.focusTarget().takeFocus();
        return;
    }
}

ControlPeer* Keyboard::defaultButton() const {
    for (const auto& p : peers_)
        if (p->isPushButton() && p->isDefault()) return p.get();
    return nullptr;
}

void Keyboard::cancel() {
    for (const auto& p : peers_) {
        if (p->isPushButton() && p->isCancel() && p->reachable()) {
            p->press();
            return;
        }
    }
}

LRESULT Keyboard::defaultId() const {
    const ControlPeer* f = host_.peerAt(GetFocus());
    if (f && f->isPushButton()) return MAKELRESULT(f->id(), DC_HASDEFID);
    for (const auto& p : peers_)
        if (p->isPushButton() && p->isDefault() && p->reachable()) return MAKELRESULT(p->id(), DC_HASDEFID);
    return 0;
}

void Keyboard::showDefault(const ControlPeer* focused) {
    const ControlPeer* target = focused ? focused : defaultButton();
    for (const auto& p : peers_)
        if (p->hwnd() && p->isPushButton()) p->showAsDefault(p.get() == target);
}

void Keyboard::activated(WPARAM wp) {
    if (LOWORD(wp) == WA_INACTIVE) {
        HWND f = GetFocus();
        if (f && IsChild(host_.window(), f)) lastFocus_ = f;
    } else if (!HIWORD(wp)) {
        restoreFocus();
    }
}

void Keyboard::restoreFocus() {
    const HWND form = host_.window();
    auto usable = [form](HWND h) {
        return h && IsWindow(h) && IsChild(form, h) && IsWindowVisible(h) && IsWindowEnabled(h);
    };
    HWND t = lastFocus_;
    if (!usable(t)) {
        t = GetNextDlgTabItem(form, nullptr, FALSE);
        // A dialog opening on some other push button would let a stray
        // Enter press it (on the reset dialog: reset everything); open on
        // the default button instead.
        const ControlPeer* d = defaultButton();
        const HWND defButton = d ? d->hwnd() : nullptr;
        if (usable(defButton) && t != defButton && (Window{t}.dialogCode() & DLGC_UNDEFPUSHBUTTON)) t = defButton;
    }
    if (usable(t)) SetFocus(t);
    else if (GetFocus() != form) SetFocus(form);
}

// A hidden or disabled control keeps the focus in Windows, and the keyboard
// would go nowhere: hand it on.
void Keyboard::fixFocus() {
    const HWND form = host_.window();
    HWND f = GetFocus();
    if (!f || !IsChild(form, f)) return;
    if (IsWindowVisible(f) && IsWindowEnabled(f)) return;
    auto usable = [f](HWND h) { return h && h != f && IsWindowVisible(h) && IsWindowEnabled(h); };
    HWND next = GetNextDlgTabItem(form, f, FALSE);
    if (!usable(next)) next = GetNextDlgTabItem(form, nullptr, FALSE);
    SetFocus(usable(next) ? next : form);
}

void Keyboard::nextControl(WPARAM wp, LPARAM lp) {
    const HWND form = host_.window();
    const Window target{lp ? reinterpret_cast<HWND>(wp) : GetNextDlgTabItem(form, GetFocus(), wp != 0)};
    if (!target.h) return;
    SetFocus(target.h);
    if (target.dialogCode() & DLGC_HASSETSEL) EditWnd{target.h}.selectAll();
}

}  // namespace ui::win32
