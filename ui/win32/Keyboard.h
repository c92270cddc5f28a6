// A form's keyboard and focus: Tab order and arrows through the dialog
// manager, access keys, the default (Enter) and cancel (Esc) buttons,
// Ctrl+Tab across the tab strip's pages, the mouse wheel on scroll bars and
// sliders, and where the focus goes when the form is activated or a window
// that has it becomes unreachable.
#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "ui/win32/ControlPeer.h"

namespace ui::win32 {

class Keyboard {
public:
    using Peers = std::vector<std::unique_ptr<ControlPeer>>;
    Keyboard(PeerHost& host, const Peers& peers) : host_(host), peers_(peers) {}

    // Keys the dialog manager would get wrong for this layout; true when
    // the message was handled.
    bool preTranslate(MSG& msg);
    // The dialog manager's keyboard interface over the form; true when it
    // took the message.
    bool dialogMessage(MSG& msg);

    // Esc, or the close of a dialog by IDCANCEL: the cancel button.
    void cancel();
    // DM_GETDEFID: Enter presses the focused push button, else the default.
    LRESULT defaultId() const;
    // The thick border on the button Enter presses: `focused`, else the
    // form's default button.
    void showDefault(const ControlPeer* focused);
    void activated(WPARAM wp);
    void restoreFocus();
    void fixFocus();
    // WM_NEXTDLGCTL.
    void nextControl(WPARAM wp, LPARAM lp);
    // An arrow key is moving the focus: along an option array that selects,
    // as a user expects.
    bool arrowing() const { return arrowKey_; }

private:
    bool mnemonic(char key);
    void focusAfter(std::size_t i);
    ControlPeer* defaultButton() const;

    PeerHost& host_;
    const Peers& peers_;
    HWND lastFocus_ = nullptr;
    // Set while the dialog manager handles an arrow key.
    bool arrowKey_ = false;
};

}  // namespace ui::win32
