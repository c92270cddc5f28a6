// The system menu, the standard file dialogs and whole files, for the
// backup tests.
#include "Driver.h"

#include <windows.h>

#include <cstdio>

namespace e2e {

namespace {

HWND H(Hwnd h) { return static_cast<HWND>(h); }

struct Search {
    DWORD pid;
    const char* cls;
    std::vector<HWND> out;
};

BOOL CALLBACK collectVisible(HWND h, LPARAM p) {
    auto* s = reinterpret_cast<Search*>(p);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    char c[64] = {0};
    GetClassNameA(h, c, sizeof c);
    if (pid == s->pid && IsWindowVisible(h) && lstrcmpiA(c, s->cls) == 0) s->out.push_back(h);
    return TRUE;
}

// The program's visible top-level windows of one class.
std::vector<HWND> windowsOf(DWORD pid, const char* cls) {
    Search s{pid, cls, {}};
    EnumWindows(collectVisible, LPARAM(&s));
    return s.out;
}

std::optional<HWND> openMenu(const App& app) {
    auto menus = windowsOf(app.pid(), "#32768");
    if (menus.empty()) return std::nullopt;
    return menus.front();
}

std::string wideCaption(HWND h) {
    wchar_t w[256] = {0};
    GetWindowTextW(h, w, 255);
    char b[512] = {0};
    WideCharToMultiByte(CP_ACP, 0, w, -1, b, sizeof b, nullptr, nullptr);
    return b;
}

}  // namespace

Hwnd openSystemMenu(const App& app, const Window& w) {
    if (!w.usable()) throw Failure("the window is not usable; its system menu cannot be opened");
    // What DefWindowProc makes of Alt+Space.
    if (!PostMessageW(H(w.hwnd()), WM_SYSCOMMAND, SC_KEYMENU, ' ')) throw Failure("cannot open the system menu");
    std::optional<HWND> menu;
    if (!waitUntil([&] { return (menu = openMenu(app)).has_value(); }, scaled(kStepTimeout)))
        throw Failure("the system menu did not open");
    return *menu;
}

void chooseSystemMenuEntry(const App& app, const Window& w, int fromEnd) {
    HWND menu = H(openSystemMenu(app, w));
    // The menu's own loop reads the thread's queue: keys as typed.
    for (int i = 0; i < fromEnd; ++i) PostMessageW(menu, WM_KEYDOWN, VK_UP, 1);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 1);
}

bool closeOpenMenus(const App& app) {
    bool any = false;
    for (int i = 0; i < 4; ++i) {
        auto menu = openMenu(app);
        if (!menu) break;
        any = true;
        PostMessageW(*menu, WM_KEYDOWN, VK_ESCAPE, 1);
        waitUntil([&] { return !openMenu(app); }, 500);
    }
    return any;
}

std::optional<Window> findFileDialog(const App& app, const std::string& title, int timeoutMs) {
    std::optional<Window> found;
    waitUntil(
        [&] {
            for (HWND h : windowsOf(app.pid(), "#32770"))
                if (wideCaption(h) == title && GetDlgItem(h, IDOK)) {
                    found = Window(h, title);
                    return true;
                }
            return false;
        },
        timeoutMs);
    return found;
}

void chooseFile(const Window& dialog, const std::string& path) {
    HWND d = H(dialog.hwnd());
    // The file name box: an edit (edt1) or the Explorer style's combo box (cmb13).
    HWND box = GetDlgItem(d, 0x480);
    if (!box) box = GetDlgItem(d, 0x47C);
    if (!box) throw Failure("the file dialog has no file name box");
    std::wstring w(path.begin(), path.end());
    SendMessageW(box, WM_SETTEXT, 0, LPARAM(w.c_str()));
    HWND ok = GetDlgItem(d, IDOK);
    if (!ok || !IsWindowEnabled(ok)) throw Failure("the file dialog's button cannot be pressed");
    PostMessageW(ok, BM_CLICK, 0, 0);
    if (!waitUntil([&] { return !IsWindow(d) || !IsWindowVisible(d); }, scaled(kStepTimeout)))
        throw Failure("the file dialog did not close");
}

}  // namespace e2e
