#include "ui/win32/SystemMenu.h"

namespace ui::win32::systemmenu {

namespace {

// Below the system's SC_ range, and in steps of 16: Windows keeps the low
// four bits of a WM_SYSCOMMAND for itself.
constexpr UINT kFirstId = 0x0100;
constexpr UINT kIdStep = 0x10;

UINT idOf(std::size_t i) { return kFirstId + static_cast<UINT>(i) * kIdStep; }

}  // namespace

void install(HWND window, const Form& form) {
    const auto& commands = form.systemCommands();
    if (commands.empty()) return;
    HMENU menu = GetSystemMenu(window, FALSE);
    if (!menu) return;
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    for (std::size_t i = 0; i < commands.size(); ++i) AppendMenuA(menu, MF_STRING, idOf(i), commands[i].caption.c_str());
}

void refresh(HWND window, const Form& form) {
    const auto& commands = form.systemCommands();
    if (commands.empty()) return;
    HMENU menu = GetSystemMenu(window, FALSE);
    if (!menu) return;
    for (std::size_t i = 0; i < commands.size(); ++i)
        EnableMenuItem(menu, idOf(i), MF_BYCOMMAND | (form.systemCommandEnabled(i) ? MF_ENABLED : MF_GRAYED));
}

int commandOf(WPARAM wp, const Form& form) {
    const UINT id = static_cast<UINT>(wp) & 0xFFF0u;
    const std::size_t n = form.systemCommands().size();
    if (id < kFirstId || (id - kFirstId) % kIdStep || (id - kFirstId) / kIdStep >= n) return -1;
    return static_cast<int>((id - kFirstId) / kIdStep);
}

}  // namespace ui::win32::systemmenu
