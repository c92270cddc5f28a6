#include "Controls.h"

#include <algorithm>
#include <cwchar>

#include "Internal.h"
#include <commctrl.h>

namespace e2e {

using namespace detail;

std::string Control::describe() const {
    return (name_.empty() ? classOf(H(hwnd_)) : name_) + " (" + hex(reinterpret_cast<UINT_PTR>(hwnd_)) + ")";
}

std::string Control::className() const { return classOf(H(hwnd_)); }
bool Control::exists() const { return hwnd_ && IsWindow(H(hwnd_)); }
std::string Control::text() const { return windowText(H(hwnd_), describe()); }
bool Control::enabled() const { return IsWindowEnabled(H(hwnd_)) != FALSE; }
bool Control::visible() const { return IsWindowVisible(H(hwnd_)) != FALSE; }

void Control::requireUsable(const char* action) const {
    if (!exists()) throw Failure(std::string("cannot ") + action + " " + describe() + ": it no longer exists");
    if (!visible()) throw Failure(std::string("cannot ") + action + " " + describe() + ": it is not visible");
    if (!enabled()) throw Failure(std::string("cannot ") + action + " " + describe() + ": it is disabled");
}

int Control::checked() const { return int(send(H(hwnd_), BM_GETCHECK, 0, 0, describe())); }

int Control::position() const {
    HWND h = H(hwnd_);
    if (isClass(h, TRACKBAR_CLASSA)) return int(send(h, TBM_GETPOS, 0, 0, describe()));
    if (isClass(h, "ScrollBar")) return int(send(h, SBM_GETPOS, 0, 0, describe()));
    throw Failure(describe() + " has no position (class " + className() + ")");
}

namespace {

// A scroll bar control's range.
SCROLLINFO scrollRange(HWND h, const std::string& what) {
    SCROLLINFO si = {sizeof si, SIF_RANGE, 0, 0, 0, 0, 0};
    if (!GetScrollInfo(h, SB_CTL, &si)) throw Failure("cannot read the range of " + what);
    return si;
}

}  // namespace

int Control::rangeMin() const {
    HWND h = H(hwnd_);
    if (isClass(h, TRACKBAR_CLASSA)) return int(send(h, TBM_GETRANGEMIN, 0, 0, describe()));
    return scrollRange(h, describe()).nMin;
}

int Control::rangeMax() const {
    HWND h = H(hwnd_);
    if (isClass(h, TRACKBAR_CLASSA)) return int(send(h, TBM_GETRANGEMAX, 0, 0, describe()));
    return scrollRange(h, describe()).nMax;
}

int Control::selectedIndex() const {
    HWND h = H(hwnd_);
    if (isClass(h, "ComboBox")) return int(send(h, CB_GETCURSEL, 0, 0, describe()));
    if (isClass(h, WC_TABCONTROLA)) return int(send(h, TCM_GETCURSEL, 0, 0, describe()));
    if (isClass(h, WC_LISTVIEWA)) return int(send(h, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED, describe()));
    throw Failure(describe() + " has no entries (class " + className() + ")");
}

int Control::count() const {
    HWND h = H(hwnd_);
    if (isClass(h, "ComboBox")) return int(send(h, CB_GETCOUNT, 0, 0, describe()));
    if (isClass(h, WC_TABCONTROLA)) return int(send(h, TCM_GETITEMCOUNT, 0, 0, describe()));
    if (isClass(h, WC_LISTVIEWA)) return int(send(h, LVM_GETITEMCOUNT, 0, 0, describe()));
    throw Failure(describe() + " has no entries (class " + className() + ")");
}

std::string Control::itemText(int i) const {
    HWND h = H(hwnd_);
    if (i < 0 || i >= count()) throw Failure(describe() + " has no entry " + std::to_string(i));
    if (isClass(h, "ComboBox")) {
        LRESULT n = send(h, CB_GETLBTEXTLEN, WPARAM(i), 0, describe());
        if (n < 0) throw Failure(describe() + ": no text for entry " + std::to_string(i));
        // Wine returns UTF-16 to a cross-process CB_GETLBTEXT even when asked
        // in ANSI; ask in UTF-16 and convert here.
        std::wstring w(std::size_t(n) + 1, L'\0');
        LRESULT got = send(h, CB_GETLBTEXT, WPARAM(i), LPARAM(&w[0]), describe());
        w.resize(std::size_t(std::max<LRESULT>(0, got)));
        return narrow(w);
    }
    constexpr std::size_t kChars = 512;
    if (isClass(h, WC_LISTVIEWA)) {
        Remote mem(h, sizeof(LVITEMW) + kChars * sizeof(wchar_t));
        LVITEMW it = {};
        it.iSubItem = 0;
        it.cchTextMax = int(kChars);
        it.pszText = reinterpret_cast<LPWSTR>(mem.at(sizeof(LVITEMW)));
        mem.write(0, &it, sizeof it);
        LRESULT n = send(h, LVM_GETITEMTEXTW, WPARAM(i), LPARAM(mem.at(0)), describe());
        std::wstring w(kChars, L'\0');
        mem.read(sizeof(LVITEMW), &w[0], kChars * sizeof(wchar_t));
        w.resize(std::size_t(std::max<LRESULT>(0, std::min<LRESULT>(n, kChars))));
        return narrow(w);
    }
    if (isClass(h, WC_TABCONTROLA)) {
        Remote mem(h, sizeof(TCITEMW) + kChars * sizeof(wchar_t));
        TCITEMW it = {};
        it.mask = TCIF_TEXT;
        it.cchTextMax = int(kChars);
        it.pszText = reinterpret_cast<LPWSTR>(mem.at(sizeof(TCITEMW)));
        mem.write(0, &it, sizeof it);
        if (!send(h, TCM_GETITEMW, WPARAM(i), LPARAM(mem.at(0)), describe()))
            throw Failure(describe() + ": no text for tab " + std::to_string(i));
        std::wstring w(kChars, L'\0');
        mem.read(sizeof(TCITEMW), &w[0], kChars * sizeof(wchar_t));
        w.resize(std::wcslen(w.c_str()));
        return narrow(w);
    }
    throw Failure(describe() + " has no entries (class " + className() + ")");
}

std::vector<std::string> Control::items() const {
    std::vector<std::string> v;
    for (int i = 0, n = count(); i < n; ++i) v.push_back(itemText(i));
    return v;
}

std::string Control::selectedText() const {
    int i = selectedIndex();
    return i < 0 ? std::string() : itemText(i);
}

void Control::click() {
    requireUsable("click");
    send(H(hwnd_), BM_CLICK, 0, 0, describe());
}

void Control::clickAsync() {
    requireUsable("click");
    if (!PostMessageW(H(hwnd_), BM_CLICK, 0, 0)) throw Failure("cannot post a click to " + describe());
}

void Control::pressKey(int vk) {
    requireUsable("press a key on");
    UINT scan = MapVirtualKeyW(UINT(vk), 0);
    LPARAM down = LPARAM(1 | (scan << 16));
    bool extended = vk >= VK_PRIOR_ && vk <= VK_DOWN_;
    if (extended) down |= LPARAM(1) << 24;
    LPARAM up = down | (LPARAM(1) << 30) | (LPARAM(1) << 31);
    send(H(hwnd_), WM_KEYDOWN, WPARAM(vk), down, describe());
    send(H(hwnd_), WM_KEYUP, WPARAM(vk), up, describe());
}

void Control::moveTo(int pos) {
    if (pos < rangeMin() || pos > rangeMax())
        throw Failure(describe() + ": position " + std::to_string(pos) + " is outside its range");
    for (int guard = 0; position() != pos; ++guard) {
        int before = position();
        pressKey(before < pos ? VK_RIGHT_ : VK_LEFT_);
        if (position() == before)
            throw Failure(describe() + " did not move from " + std::to_string(before) + " on an arrow key");
        if (guard > rangeMax() - rangeMin() + 2) throw Failure(describe() + " overshoots " + std::to_string(pos));
    }
}

void Control::choose(int index) {
    HWND h = H(hwnd_);
    if (index < 0 || index >= count())
        throw Failure(describe() + " has no entry " + std::to_string(index) + " (it has " + std::to_string(count()) +
                      ")");
    if (isClass(h, WC_TABCONTROLA)) {
        requireUsable("switch tabs on");
        send(h, TCM_SETCURFOCUS, WPARAM(index), 0, describe());
        if (!waitUntil([&] { return selectedIndex() == index; }, scaled(kStepTimeout)))
            throw Failure(describe() + " did not switch to tab " + std::to_string(index));
        return;
    }
    if (isClass(h, "ComboBox")) {
        // As a user with the keyboard: every step between is a choice too.
        if (selectedIndex() < 0) pressKey(VK_HOME_);
        for (int guard = 0; selectedIndex() != index; ++guard) {
            int before = selectedIndex();
            pressKey(before < index ? VK_DOWN_ : VK_UP_);
            if (selectedIndex() == before)
                throw Failure(describe() + " did not move from entry " + std::to_string(before) + " on an arrow key");
            if (guard > count() + 1) throw Failure(describe() + " overshoots entry " + std::to_string(index));
        }
        return;
    }
    if (isClass(h, WC_LISTVIEWA)) {
        requireUsable("select in");
        Remote mem(h, sizeof(LVITEMW));
        LVITEMW it = {};
        it.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        it.state = 0;
        mem.write(0, &it, sizeof it);
        send(h, LVM_SETITEMSTATE, WPARAM(-1), LPARAM(mem.at(0)), describe());
        it.state = LVIS_SELECTED | LVIS_FOCUSED;
        mem.write(0, &it, sizeof it);
        send(h, LVM_SETITEMSTATE, WPARAM(index), LPARAM(mem.at(0)), describe());
        return;
    }
    throw Failure(describe() + " has no entries to choose (class " + className() + ")");
}

void Control::choose(const std::string& text) {
    std::vector<std::string> all = items();
    auto it = std::find(all.begin(), all.end(), text);
    if (it == all.end()) throw Failure(describe() + " has no entry \"" + text + "\"");
    choose(int(it - all.begin()));
}

void Control::pick(const std::string& text) {
    HWND h = H(hwnd_);
    if (!isClass(h, "ComboBox")) throw Failure(describe() + " is not a drop-down list");
    std::vector<std::string> all = items();
    auto it = std::find(all.begin(), all.end(), text);
    if (it == all.end()) throw Failure(describe() + " has no entry \"" + text + "\"");
    const int index = int(it - all.begin());
    auto dropped = [&] { return send(h, CB_GETDROPPEDSTATE, 0, 0, describe()) != 0; };
    pressKey(VK_F4_);
    if (!dropped()) throw Failure(describe() + " did not open on F4");
    if (selectedIndex() < 0) pressKey(VK_HOME_);
    for (int guard = 0; selectedIndex() != index; ++guard) {
        if (guard > count() + 1) throw Failure(describe() + " overshoots entry " + text);
        pressKey(selectedIndex() < index ? VK_DOWN_ : VK_UP_);
    }
    pressKey(VK_RETURN_);
    if (dropped()) throw Failure(describe() + " stayed open after Enter");
}

void Control::doubleClickItem(int index) {
    HWND h = H(hwnd_);
    if (!isClass(h, WC_LISTVIEWA)) throw Failure(describe() + " is not a list view");
    requireUsable("double-click");
    if (index < 0 || index >= count()) throw Failure(describe() + " has no entry " + std::to_string(index));
    send(h, LVM_ENSUREVISIBLE, WPARAM(index), FALSE, describe());
    Remote mem(h, sizeof(RECT));
    RECT r = {};
    r.left = LVIR_ICON;
    mem.write(0, &r, sizeof r);
    if (!send(h, LVM_GETITEMRECT, WPARAM(index), LPARAM(mem.at(0)), describe()))
        throw Failure(describe() + ": no rectangle for entry " + std::to_string(index));
    mem.read(0, &r, sizeof r);
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    // Posted: the list view tracks the mouse in a loop of its own, and the
    // double click may open a modal window.
    bool ok = PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at) && PostMessageW(h, WM_LBUTTONUP, 0, at) &&
              PostMessageW(h, WM_LBUTTONDBLCLK, MK_LBUTTON, at) && PostMessageW(h, WM_LBUTTONUP, 0, at);
    if (!ok) throw Failure("cannot post a double click to " + describe());
}

std::vector<Control> Window::controls() const {
    std::vector<Control> v;
    for (HWND h : descendants(H(hwnd_))) v.emplace_back(h, qmName(h));
    return v;
}

std::optional<Control> Window::find(const std::string& name) const {
    for (HWND h : descendants(H(hwnd_)))
        if (qmName(h) == name) return Control(h, name);
    return std::nullopt;
}

Control Window::control(const std::string& name) const {
    if (auto c = find(name)) return *c;
    std::string known;
    for (const Control& c : controls())
        if (!c.name().empty()) known += (known.empty() ? "" : ", ") + c.name();
    throw Failure(name_ + " has no control \"" + name + "\" (it has: " + known + ")");
}

Control Window::control(const std::string& name, int index) const {
    return control(name + "(" + std::to_string(index) + ")");
}

std::optional<Control> Window::findByClassAndText(const std::string& cls, const std::string& text) const {
    for (HWND h : descendants(H(hwnd_)))
        if (isClass(h, cls.c_str()) && windowText(h, cls) == text) return Control(h, qmName(h));
    return std::nullopt;
}

void Window::closeFromFrame() {
    requireUsable("close");
    if (!PostMessageW(H(hwnd_), WM_SYSCOMMAND, SC_CLOSE, 0)) throw Failure("cannot close " + describe());
}

}  // namespace e2e
