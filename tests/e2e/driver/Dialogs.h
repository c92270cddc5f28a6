// Message boxes and dialogs: reading and answering the program's message
// boxes, opening the main window's dialogs, the system menu, and the
// standard file dialogs.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "Program.h"

namespace e2e {

// Windows' numbers for message-box buttons.
constexpr int IDOK_ = 1, IDCANCEL_ = 2, IDYES_ = 6, IDNO_ = 7;

enum class Icon { None, Information, Critical, Question, Warning, Unrecognised };
const char* toString(Icon i);

class MsgBox {
public:
    MsgBox() = default;
    explicit MsgBox(Hwnd h) : hwnd_(h) {}
    Hwnd hwnd() const { return hwnd_; }
    std::string title() const;
    std::string text() const;
    // Which system icon it shows, told by its pixels on the screen.
    Icon icon() const;
    std::vector<int> buttons() const;  // IDOK_, IDYES_, ... present
    bool open() const;
    // Presses a button and waits for the box to go.
    void answer(int button);

private:
    Hwnd hwnd_ = nullptr;
};

// The dialogs the main window opens, and their opening as a user does it:
// the tab, then the button (frmQuad: "Yes" to its warning and OK to its
// note; frmAC97Mixer: "AC97 Mixer" in the tools list, with no path stored;
// frmWPCRSET stays open only with WPCRSET's two "Start" values stored).
// Waits for the dialog and returns it.
const std::vector<std::string>& dialogForms();
Window openDialog(const App& app, const Window& main, const std::string& form);

// Opens the window's system menu as Alt+Space does (the menu the title-bar
// icon opens), goes up to the entry `fromEnd` places from its end (1: the
// last) with the arrow key and presses Enter, as a keyboard user may. Posted:
// the entry may open a modal dialog. Throws when the menu does not open.
void chooseSystemMenuEntry(const App& app, const Window& w, int fromEnd);
// Only opens it; the menu's window.
Hwnd openSystemMenu(const App& app, const Window& w);
// Whether one of the program's menus is still open; closes them with Esc.
bool closeOpenMenus(const App& app);
// The program's standard Open or Save dialog with this title, when it
// appears within the time.
std::optional<Window> findFileDialog(const App& app, const std::string& title, int timeoutMs);
// Types the path into the dialog's file name box and presses its Save or
// Open button, as a user would; waits for the dialog to go.
void chooseFile(const Window& dialog, const std::string& path);

}  // namespace e2e
