#include "ui/win32/Win32Ui.h"

#include <commctrl.h>

#include <cstring>

#include "ui/win32/FormWindow.h"

namespace ui::win32 {

namespace {
constexpr int kAppIconId = 1;
}

Toolkit::Toolkit(HINSTANCE instance, int firstShow) : instance_(instance), firstShow_(firstShow) {
    INITCOMMONCONTROLSEX icc;
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES | ICC_WIN95_CLASSES;
    InitCommonControlsEx(&icc);

    HDC screen = GetDC(nullptr);
    if (screen) {
        dpi_ = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(nullptr, screen);
    }
    if (dpi_ <= 0) dpi_ = 96;

    // The dialog font of the running system (Tahoma 8 on XP), already sized
    // for its DPI.
    static_assert(sizeof(NONCLIENTMETRICSA) == 340, "XP's NONCLIENTMETRICSA is 340 bytes");
    NONCLIENTMETRICSA ncm;
    std::memset(&ncm, 0, sizeof ncm);
    ncm.cbSize = sizeof ncm;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) font_ = CreateFontIndirectA(&ncm.lfMessageFont);
    ownFont_ = font_ != nullptr;
    if (!font_) font_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));

    bigIcon_ = static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(kAppIconId), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    smallIcon_ = static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(kAppIconId), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));

    WNDCLASSEXA wc;
    std::memset(&wc, 0, sizeof wc);
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = FormWindow::formProc;
    wc.hInstance = instance_;
    // No class icon: a window shows the program's icon only when it is
    // given one, so a form can go without.
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = FormWindow::className();
    RegisterClassExA(&wc);
}

Toolkit::~Toolkit() {
    auto rest = std::move(forms_);
    for (auto& e : rest) e.second->teardown();
    rest.clear();
    UnregisterClassA(FormWindow::className(), instance_);
    if (ownFont_) DeleteObject(font_);
    if (bigIcon_) DestroyIcon(bigIcon_);
    if (smallIcon_) DestroyIcon(smallIcon_);
}

int Toolkit::takeFirstShow() {
    int cmd = firstShow_;
    firstShow_ = SW_SHOW;
    // Started hidden or in some odd state: still the window must appear.
    if (cmd == SW_HIDE || cmd < 0 || cmd > SW_MAX) cmd = SW_SHOWNORMAL;
    return cmd;
}

void Toolkit::realize(Form& f) {
    auto old = forms_.find(&f);
    if (old != forms_.end()) {
        auto fw = old->second;
        forms_.erase(old);
        fw->teardown();
    }
    auto fw = std::make_shared<FormWindow>(*this, f);
    forms_[&f] = fw;
    fw->build();
}

void Toolkit::destroy(Form& f) {
    auto it = forms_.find(&f);
    if (it == forms_.end()) return;
    // The form's own window procedure may be running this; it holds its
    // own reference until it returns.
    auto fw = it->second;
    forms_.erase(it);
    fw->teardown();
    // The main window unloaded ends the program.
    if (!f.isDialog()) PostQuitMessage(0);
}

void Toolkit::update(Form& f, FormAspect what) {
    auto it = forms_.find(&f);
    if (it == forms_.end()) return;
    auto fw = it->second;
    fw->updateForm(what);
}

HWND Toolkit::windowOf(const Form* f) const {
    if (!f) return nullptr;
    auto it = forms_.find(const_cast<Form*>(f));
    return it == forms_.end() ? nullptr : it->second->hwnd();
}

std::shared_ptr<FormWindow> Toolkit::byWindow(HWND h) const {
    if (!h) return nullptr;
    for (const auto& e : forms_)
        if (e.second->hwnd() == h) return e.second;
    return nullptr;
}

int Toolkit::run() {
    MSG msg;
    for (;;) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(msg.wParam);
        if (got == -1) return 1;
        // The keyboard interface of a dialog, for whichever form is active.
        std::shared_ptr<FormWindow> fw = byWindow(GetActiveWindow());
        if (fw && !fw->dead()) {
            if (fw->preTranslate(msg)) continue;
            if (fw->dialogMessage(msg)) continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

int MessageBoxes::show(Form* owner, const std::string& text, const std::string& title, int style) {
    HWND h = tk_.windowOf(owner);
    if (!h || !IsWindowVisible(h)) {
        // A dialog still loading has no window yet: its box sits on the
        // window that is opening it.
        h = owner ? tk_.windowOf(owner->owner()) : nullptr;
        if (!h || !IsWindow(h)) h = GetActiveWindow();
    }
    UINT flags = static_cast<UINT>(style);
    // With no window to sit on, keep it in front and the program's windows
    // waiting for it.
    if (!h) flags |= MB_TASKMODAL | MB_SETFOREGROUND;
    const int answer = MessageBoxA(h, text.c_str(), title.c_str(), flags);
    if (answer == 0) return (style & 0xF) == MB_YESNO ? ID_NO : ID_OK;
    return answer;
}

}  // namespace ui::win32
