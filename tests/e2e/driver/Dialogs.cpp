#include "Dialogs.h"

#include "Internal.h"

namespace e2e {

using namespace detail;

const char* toString(Icon i) {
    switch (i) {
        case Icon::None: return "no icon";
        case Icon::Information: return "information";
        case Icon::Critical: return "critical stop";
        case Icon::Question: return "question";
        case Icon::Warning: return "warning";
        case Icon::Unrecognised: return "an unrecognised icon";
    }
    return "?";
}

namespace {
constexpr int kBoxText = 0xFFFF;
constexpr int kBoxIcon = 0x440;
}  // namespace

bool detail::isMessageBox(HWND h) {
    return isClass(h, "#32770") && IsWindowVisible(h) && qmName(h).empty() && GetDlgItem(h, kBoxText);
}

std::string MsgBox::title() const { return captionOf(H(hwnd_)); }

std::string MsgBox::text() const {
    HWND t = GetDlgItem(H(hwnd_), kBoxText);
    if (!t) throw Failure("message box without its text");
    return windowText(t, "message box text");
}

Icon MsgBox::icon() const {
    HWND ic = GetDlgItem(H(hwnd_), kBoxIcon);
    // Wine keeps the icon control in a box without an icon, empty and under
    // the buttons; the handle is the program's, but whether there is one is
    // telling.
    if (!ic || !IsWindowVisible(ic) || !send(ic, STM_GETICON, 0, 0, "message box icon")) return Icon::None;
    // The box may not have painted yet: look until the pixels make sense.
    Icon seen = Icon::Unrecognised;
    waitUntil(
        [&] {
            seen = classify(ic);
            return seen != Icon::Unrecognised;
        },
        scaled(2000));
    return seen;
}

std::vector<int> MsgBox::buttons() const {
    std::vector<int> v;
    for (int id : {IDOK_, IDCANCEL_, IDYES_, IDNO_}) {
        HWND b = GetDlgItem(H(hwnd_), id);
        if (b && IsWindowVisible(b)) v.push_back(id);
    }
    return v;
}

bool MsgBox::open() const { return hwnd_ && IsWindow(H(hwnd_)) && IsWindowVisible(H(hwnd_)); }

void MsgBox::answer(int button) {
    HWND b = GetDlgItem(H(hwnd_), button);
    if (!b || !IsWindowVisible(b) || !IsWindowEnabled(b))
        throw Failure("the message box \"" + text() + "\" has no button " + std::to_string(button));
    if (!PostMessageW(b, BM_CLICK, 0, 0)) throw Failure("cannot press the message box's button");
    if (!waitUntil([&] { return !open(); }, scaled(kStepTimeout)))
        throw Failure("the message box \"" + text() + "\" stays open after its button was pressed");
}

std::optional<MsgBox> App::findMessageBox() const {
    if (!pid_) return std::nullopt;
    for (HWND h : topLevelWindows(pid_))
        if (isMessageBox(h)) return MsgBox(h);
    return std::nullopt;
}

MsgBox App::messageBox(int timeoutMs) const {
    std::optional<MsgBox> b;
    if (waitUntil([&] { return (b = findMessageBox()).has_value() || !running(); }, timeoutMs) && b) return *b;
    throw Failure(running() ? "no message box appeared" : "the program ended without showing a message box");
}

const std::vector<std::string>& dialogForms() {
    static const std::vector<std::string> forms = {"frmEQ",   "frmReset",    "frmWPCRSET", "frmDrvVer",
                                                   "frmAbout", "frmAboutA3D", "frmQuad",    "frmAC97Mixer"};
    return forms;
}

Window openDialog(const App& app, const Window& main, const std::string& form) {
    constexpr int kGeneral = 0, kA3D = 2, kDigital = 4;
    struct Opening {
        const char* form;
        int tab;  // -1: a button below the tabs
        const char* button;
    } const openings[] = {
        {"frmEQ", kDigital, "cmdEQSettings"}, {"frmReset", -1, "cmdReset"},
        {"frmWPCRSET", kGeneral, "cmdWPCRSET"}, {"frmDrvVer", kA3D, "cmdDrvVerHlp"},
        {"frmAbout", -1, "cmdAbout"},          {"frmAboutA3D", kA3D, "cmdAboutA3D"},
        {"frmQuad", kA3D, "cmdQuad"},          {"frmAC97Mixer", kGeneral, "ListView1"},
    };
    for (const Opening& o : openings) {
        if (form != o.form) continue;
        if (o.tab >= 0) main.control("SSTab1").choose(o.tab);
        if (form == "frmAC97Mixer") {
            main.control(o.button).doubleClickItem(3);
        } else if (form == "frmQuad") {
            main.control(o.button).clickAsync();
            app.messageBox().answer(IDYES_);
            app.messageBox().answer(IDOK_);
        } else {
            main.control(o.button).click();
        }
        return app.form(form, scaled(kStepTimeout));
    }
    throw Failure("the main window opens no dialog " + form);
}

namespace {

// The program's visible top-level windows of one class.
std::vector<HWND> windowsOf(DWORD pid, const char* cls) {
    std::vector<HWND> out;
    for (HWND h : topLevelWindows(pid))
        if (IsWindowVisible(h) && isClass(h, cls)) out.push_back(h);
    return out;
}

std::optional<HWND> openMenu(const App& app) {
    auto menus = windowsOf(app.pid(), "#32768");
    if (menus.empty()) return std::nullopt;
    return menus.front();
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
                if (captionOf(h) == title && GetDlgItem(h, IDOK)) {
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
