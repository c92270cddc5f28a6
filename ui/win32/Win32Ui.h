// The control toolkit realized as real windows: every ui::Form becomes a
// top-level window with one child window per control, and every user action
// on a child becomes the model's own setter, so the handlers run exactly as
// they do headless. Pushes of the model's state into the windows never come
// back as user actions.
//
// Test hook: every window carries a property named kNameProperty ("QmName")
// whose value is a global atom holding its name: the form's name for the
// top-level window ("frmMain"), the control's name for a child ("chkTray"),
// and "name(index)" for an option button ("optDigOut(2)"). A test driver in
// another process finds a control by name with
//   GlobalGetAtomNameA((ATOM)(UINT_PTR)GetPropA(hwnd, "QmName"), buf, size)
// over EnumChildWindows. The atoms are deleted when the window is destroyed.
#pragma once
#include <windows.h>

#include <map>
#include <memory>

#include "ui/Form.h"

namespace ui::win32 {

constexpr const char* kNameProperty = "QmName";
// Set on a form's window once every one of its controls exists: the pages
// not on show are made after the window first appears.
constexpr const char* kBuiltProperty = "QmBuilt";

class FormWindow;

class Toolkit : public ui::Realizer {
public:
    // `firstShow` is WinMain's show command, used when the main window first
    // appears.
    Toolkit(HINSTANCE instance, int firstShow);
    ~Toolkit() override;
    Toolkit(const Toolkit&) = delete;
    Toolkit& operator=(const Toolkit&) = delete;

    void realize(Form& f) override;
    void destroy(Form& f) override;
    void update(Form& f, FormAspect what) override;

    // Runs the message loop until the main window is unloaded; returns the
    // quit code.
    int run();

    // The form's top-level window, or null while it has none.
    HWND windowOf(const Form* f) const;

    HINSTANCE instance() const { return instance_; }
    int dpi() const { return dpi_; }
    HFONT font() const { return font_; }
    HICON icon(bool small) const { return small ? smallIcon_ : bigIcon_; }
    int takeFirstShow();

private:
    std::shared_ptr<FormWindow> byWindow(HWND h) const;

    HINSTANCE instance_;
    int firstShow_;
    int dpi_ = 96;
    HFONT font_ = nullptr;
    bool ownFont_ = false;
    HICON bigIcon_ = nullptr, smallIcon_ = nullptr;
    std::map<Form*, std::shared_ptr<FormWindow>> forms_;
};

// MessageBoxA over the form's window when it is visible; else, for a dialog
// still loading, over its owner's window; else over the thread's active
// window, or none.
class MessageBoxes : public ui::MessageBoxService {
public:
    explicit MessageBoxes(Toolkit& tk) : tk_(tk) {}
    int show(Form* owner, const std::string& text, const std::string& title, int style) override;

private:
    Toolkit& tk_;
};

}  // namespace ui::win32
