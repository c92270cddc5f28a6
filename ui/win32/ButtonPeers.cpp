// Push buttons, check boxes and option buttons: the BUTTON class.
#include "ui/win32/Peers.h"

#include "ui/win32/SystemApi.h"

namespace ui::win32 {

// ------------------------------------------------------------ push button

ControlPeer::Style ButtonPeer::style() const {
    // BS_NOTIFY: its focus tells which button Enter would press.
    return {"BUTTON", static_cast<DWORD>(WS_TABSTOP | BS_NOTIFY | (b_.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON)), 0, true};
}

void ButtonPeer::command(int code) {
    if (code == BN_CLICKED && reachable()) press();
    else if (code == BN_SETFOCUS) host_.defaultMoved(this);
    else if (code == BN_KILLFOCUS) host_.defaultMoved(nullptr);
}

void ButtonPeer::press() {
    Button& b = b_;
    host_.toModel([&b] { b.click(); });
}

// ------------------------------------------------------------ check box

ControlPeer::Style CheckBoxPeer::style() const {
    // BS_3STATE: Windows never toggles it by itself; the model decides.
    return {"BUTTON", WS_TABSTOP | BS_3STATE | BS_MULTILINE, 0, true};
}

void CheckBoxPeer::command(int code) {
    if (code != BN_CLICKED || !reachable()) return;
    CheckBox& b = b_;
    host_.toModel([&b] { b.setValue(b.clickedValue()); });
    host_.resync(*this);
}

// ------------------------------------------------------------ option button

ControlPeer::Style OptionPeer::style() const {
    return {"BUTTON", BS_RADIOBUTTON | BS_MULTILINE | (o_.index() == o_.array().tabStop() ? WS_TABSTOP : 0u), 0,
            true};
}

std::string OptionPeer::testName() const { return o_.name() + "(" + std::to_string(o_.index()) + ")"; }

void OptionPeer::pushValue() {
    ButtonWnd{wnd_.h}.setCheck(o_.value() ? 1 : 0);
    // Tab lands on the array's selected button.
    OptionArray& arr = o_.array();
    const int stop = arr.tabStop();
    for (int i = 0; i < arr.count(); ++i) {
        const ControlPeer* p = ControlPeer::of(arr[i]);
        if (p && p->hwnd()) p->window().setStyleBits(WS_TABSTOP, i == stop);
    }
}

void OptionPeer::select() {
    OptionButton& o = o_;
    host_.toModel([&o] { o.select(); });
    host_.resync(*this);
}

void OptionPeer::command(int code) {
    // The click Windows sends when an option merely gets the focus (by Tab,
    // or the window being activated) selects nothing.
    // A click on the selected one counts too: the user chose it.
    if (code != BN_CLICKED || focusing_ || !reachable()) return;
    OptionButton& o = o_;
    host_.toModel([&o] { o.choose(); });
    host_.resync(*this);
}

ControlPeer& OptionPeer::focusTarget() {
    OptionArray& arr = o_.array();
    ControlPeer* stop = ControlPeer::of(arr[arr.tabStop()]);
    return stop && stop->reachable() ? *stop : *this;
}

bool OptionPeer::ownMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg != WM_SETFOCUS) return false;
    const bool before = focusing_;
    focusing_ = true;
    result = defSubclassProc(wnd_.h, msg, wp, lp);
    focusing_ = before;
    if (!host_.alive() || !host_.arrowing() || !reachable()) return true;
    // Arrowed to from a button of its own array: selected.
    const ControlPeer* from = host_.peerAt(reinterpret_cast<HWND>(wp));
    OptionArray& arr = o_.array();
    for (int i = 0; from && i < arr.count(); ++i)
        if (ControlPeer::of(arr[i]) == from) {
            select();
            break;
        }
    return true;
}

}  // namespace ui::win32
