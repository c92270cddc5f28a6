#include "Input.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "Internal.h"
#include <commctrl.h>

namespace e2e {

using namespace detail;

void typeText(const Control& box, const std::string& text) {
    const std::string what = box.name().empty() ? box.className() : box.name();
    if (!box.exists() || !box.usable()) throw Failure("cannot type into " + what + ": it is not usable");
    HWND h = H(box.hwnd());
    send(h, EM_SETSEL, 0, -1, what);
    send(h, WM_CHAR, WPARAM(VK_BACK), 1, what);  // takes the selection away
    for (unsigned char c : text) send(h, WM_CHAR, WPARAM(c), 1, what);
    if (box.text() != text) throw Failure(what + " shows \"" + box.text() + "\" after typing \"" + text + "\"");
}

namespace {

// The thumb's rectangle in the control's client coordinates.
RECT thumbRect(HWND h, const std::string& what) {
    RECT r = {};
    if (isClass(h, TRACKBAR_CLASSA)) {
        Remote mem(h, sizeof(RECT));
        send(h, TBM_GETTHUMBRECT, 0, LPARAM(mem.at(0)), what);
        mem.read(0, &r, sizeof r);
        return r;
    }
    if (isClass(h, "ScrollBar")) {
        // GetScrollBarInfo does not reach another process's scroll bar, so
        // the thumb is placed the way the system draws it: arrows at both
        // ends, the thumb in the track between them in proportion to the
        // position.
        SCROLLINFO si = {};
        si.cbSize = sizeof si;
        si.fMask = SIF_ALL;
        if (!GetScrollInfo(h, SB_CTL, &si)) throw Failure("cannot read the position of " + what);
        RECT client = {};
        GetClientRect(h, &client);
        const int width = client.right - client.left;
        int arrow = GetSystemMetrics(SM_CXHSCROLL);
        if (width < 2 * arrow + 8) arrow = std::max(0, (width - 8) / 2);
        const int track = width - 2 * arrow;
        const int range = si.nMax - si.nMin + 1;
        const int thumb = si.nPage ? std::max(6, int(static_cast<long long>(track) * si.nPage / range))
                                    : GetSystemMetrics(SM_CXHTHUMB);
        const int last = si.nMax - std::max(int(si.nPage) - 1, 0);
        const int room = std::max(0, track - thumb);
        const int at = last > si.nMin ? int(static_cast<long long>(room) * (si.nPos - si.nMin) / (last - si.nMin)) : 0;
        r.left = client.left + arrow + at;
        r.right = r.left + thumb;
        r.top = client.top;
        r.bottom = client.bottom;
        return r;
    }
    throw Failure(what + " has no thumb (class " + classOf(h) + ")");
}

}  // namespace

ThumbDrag::ThumbDrag(const Control& bar) : bar_(bar) {
    if (!bar_.usable()) throw Failure("cannot drag " + bar_.name() + ": it is disabled or hidden");
    RECT t = thumbRect(H(bar_.hwnd()), bar_.name());
    if (t.right <= t.left) throw Failure(bar_.name() + " shows no thumb to drag");
    x_ = (t.left + t.right) / 2;
    y_ = (t.top + t.bottom) / 2;
    post(WM_LBUTTONDOWN, MK_LBUTTON);
    pressed_ = true;
}

ThumbDrag::~ThumbDrag() {
    if (!pressed_) return;
    try {
        release();
    } catch (...) {
    }
}

void ThumbDrag::post(unsigned msg, unsigned keys) {
    if (!PostMessageW(H(bar_.hwnd()), msg, WPARAM(keys), MAKELPARAM(x_, y_)))
        throw Failure("cannot post the mouse to " + bar_.name());
}

int ThumbDrag::moveBy(int pixels) {
    if (!pressed_) throw Failure("the drag of " + bar_.name() + " is over");
    const int before = bar_.position();
    x_ += pixels;
    post(WM_MOUSEMOVE, MK_LBUTTON);
    int now = before;
    if (!waitUntil([&] { return (now = bar_.position()) != before; }, scaled(kStepTimeout)))
        throw Failure(bar_.name() + " did not follow the mouse from " + std::to_string(before));
    return now;
}

int ThumbDrag::moveToEnd(bool right) {
    if (!pressed_) throw Failure("the drag of " + bar_.name() + " is over");
    RECT client = {};
    GetClientRect(H(bar_.hwnd()), &client);
    // A little beyond the end: still close enough that the control keeps
    // following the mouse.
    x_ = right ? client.right + 8 : client.left - 8;
    post(WM_MOUSEMOVE, MK_LBUTTON);
    const int end = right ? bar_.rangeMax() : bar_.rangeMin();
    int now = bar_.position();
    if (!waitUntil([&] { return (now = bar_.position()) == end; }, scaled(kStepTimeout)))
        throw Failure(bar_.name() + " stopped at " + std::to_string(now) + ", not at its end " + std::to_string(end));
    return now;
}

void ThumbDrag::release() {
    if (!pressed_) return;
    pressed_ = false;
    post(WM_LBUTTONUP, 0);
}

Control focusIn(const Window& w) {
    const DWORD thread = GetWindowThreadProcessId(H(w.hwnd()), nullptr);
    GUITHREADINFO gti;
    std::memset(&gti, 0, sizeof gti);
    gti.cbSize = sizeof gti;
    if (!thread || !GetGUIThreadInfo(thread, &gti) || !gti.hwndFocus) return Control();
    return Control(gti.hwndFocus, qmName(gti.hwndFocus));
}

void bringToFront(const Window& w) {
    HWND h = H(w.hwnd());
    if (!IsWindowVisible(h) || !IsWindowEnabled(h)) throw Failure("cannot type into " + captionOf(h) + ": not usable");
    if (GetForegroundWindow() == h) return;
    SetForegroundWindow(h);
    if (!waitUntil([&] { return GetForegroundWindow() == h; }, scaled(kStepTimeout)))
        throw Failure(captionOf(h) + " does not come to the foreground");
}

Hwnd foregroundWindow() { return GetForegroundWindow(); }

void minimize(const Window& w) {
    HWND h = H(w.hwnd());
    ShowWindow(h, SW_MINIMIZE);
    if (!waitUntil([&] { return IsIconic(h) != FALSE; }, scaled(kStepTimeout)))
        throw Failure(captionOf(h) + " does not minimize");
}

bool minimized(const Window& w) { return IsIconic(H(w.hwnd())) != FALSE; }

namespace {

INPUT keyInput(WORD vk, bool up) {
    INPUT in;
    std::memset(&in, 0, sizeof in);
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = WORD(MapVirtualKeyA(vk, 0));
    const bool extended = (vk >= VK_PRIOR && vk <= VK_DOWN) || vk == VK_INSERT || vk == VK_DELETE;
    in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
    return in;
}

void sendKeys(const Window& w, WORD modifier, WORD vk) {
    bringToFront(w);
    std::vector<INPUT> keys;
    if (modifier) keys.push_back(keyInput(modifier, false));
    keys.push_back(keyInput(vk, false));
    keys.push_back(keyInput(vk, true));
    if (modifier) keys.push_back(keyInput(modifier, true));
    if (SendInput(UINT(keys.size()), keys.data(), sizeof(INPUT)) != keys.size())
        throw Failure("the system took no keyboard input (error " + std::to_string(GetLastError()) + ")");
}

}  // namespace

void typeKey(const Window& w, int vk, bool shift) { sendKeys(w, shift ? VK_SHIFT : 0, WORD(vk)); }

void typeAlt(const Window& w, char key) {
    const char k = key >= 'a' && key <= 'z' ? char(key - 'a' + 'A') : key;
    if (!((k >= 'A' && k <= 'Z') || (k >= '0' && k <= '9'))) throw Failure(std::string("no key for Alt+") + key);
    sendKeys(w, VK_MENU, WORD(k));
}

}  // namespace e2e
