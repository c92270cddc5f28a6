// The program's windows and their controls, found by the names the
// program gives them, read and acted on as a user would.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "Timing.h"

namespace e2e {

// Windows' numbers for virtual keys.
constexpr int VK_LEFT_ = 0x25, VK_UP_ = 0x26, VK_RIGHT_ = 0x27, VK_DOWN_ = 0x28;
constexpr int VK_HOME_ = 0x24, VK_END_ = 0x23, VK_PRIOR_ = 0x21, VK_NEXT_ = 0x22, VK_SPACE_ = 0x20, VK_F4_ = 0x73;
constexpr int VK_TAB_ = 0x09, VK_RETURN_ = 0x0D, VK_ESCAPE_ = 0x1B;

class Control {
public:
    Control() = default;
    Control(Hwnd h, std::string name) : hwnd_(h), name_(std::move(name)) {}
    Hwnd hwnd() const { return hwnd_; }
    const std::string& name() const { return name_; }
    explicit operator bool() const { return hwnd_ != nullptr; }

    std::string className() const;
    bool exists() const;
    std::string text() const;  // window text: caption, label, text box
    bool enabled() const;      // the window itself
    bool visible() const;      // the window and every parent
    bool usable() const { return enabled() && visible(); }

    // Check box or option button: 0, 1 or 2 (grayed).
    int checked() const;
    // Scroll bar or trackbar.
    int position() const;
    int rangeMin() const;
    int rangeMax() const;
    // Drop-down list, tab strip or list view: the chosen entry (-1 none),
    // the number of entries and their texts.
    int selectedIndex() const;
    int count() const;
    std::string itemText(int i) const;
    std::vector<std::string> items() const;
    std::string selectedText() const;

    // As a user. Each refuses (throws) on a control that is disabled or
    // hidden, since Wine would act on it where Windows would not.
    void click();       // button or check box; returns after its handler ran
    void clickAsync();  // the same, posted: for a click that opens a modal box
    void pressKey(int vk);
    void moveTo(int pos);                 // scroll bar or trackbar, by arrow keys
    void choose(int index);               // list, tab (TCM_SETCURFOCUS) or list-view entry
    void choose(const std::string& text);  // by entry text
    // Drop-down list: opened with F4, the entry reached with the arrow keys
    // in the opened list and picked with Enter.
    void pick(const std::string& text);
    void doubleClickItem(int index);      // list-view entry, a real double click at it

protected:
    std::string describe() const;
    void requireUsable(const char* action) const;
    Hwnd hwnd_ = nullptr;
    std::string name_;
};

class Window : public Control {
public:
    Window() = default;
    Window(Hwnd h, std::string name) : Control(h, std::move(name)) {}
    // A control by its name ("chkTray"; "optDigOut", 2 for "optDigOut(2)");
    // throws when there is none.
    Control control(const std::string& name) const;
    Control control(const std::string& name, int index) const;
    std::optional<Control> find(const std::string& name) const;
    // Fallback for a control without a name: window class and text.
    std::optional<Control> findByClassAndText(const std::string& cls, const std::string& text) const;
    std::vector<Control> controls() const;
    // The title bar's close box, as a user presses it (posted).
    void closeFromFrame();
};

}  // namespace e2e
