// The program's control toolkit. State lives in the control object; setting
// it, by the user or by code, runs the change handler when and only when
// the state differs, nested inside the call that set it. A user's definite
// choice (an option clicked, an entry picked from the opened list) runs it
// even when it re-selects what is shown. A value a control cannot hold is
// refused: the control stays as it was and no handler runs.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {

class Form;
class Control;

// Layout unit: twips (1/1440 inch; 15 per pixel at 96 DPI).
struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

enum class Kind {
    Button, CheckBox, Option, ComboList, HScroll, Slider, Label, TextBox, Frame, Picture, TabStrip, ListView
};

// What changed, so a realization updates just that.
enum class Aspect { Caption, Value, Enabled, Visible, List, Text };

// Implemented by a realization (ui/win32); headless forms have none.
class Peer {
public:
    virtual ~Peer() = default;
    virtual void update(Control& c, Aspect what) = 0;
};

class Control {
public:
    // Names are literals: a window of many members stays small.
    Control(Form& form, Kind kind, const char* name);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    Kind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    Form& form() const { return form_; }
    int index() const { return index_; }  // within an option array, else -1

    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& c);
    const std::string& tooltip() const { return tooltip_; }
    bool enabled() const { return enabled_; }
    void setEnabled(bool e);
    bool visible() const { return visible_; }
    void setVisible(bool v);
    // The one rule of what a user can reach. On screen: its own visible flag,
    // every frame's around it, and on a page the form's tab strip's with that
    // page the current one. Enabled: its own flag, every frame's, and the tab
    // strip's when on a page (another page hides, it does not disable).
    bool shownNow() const;
    bool enabledNow() const;
    // Both, on a form that is itself shown and enabled.
    bool usable() const;
    // The access key of its caption ("Effect &1" -> '1'), upper-cased; 0 for
    // none. "&&" is a literal ampersand.
    char accessKey() const;

    // Placement: container is a frame (or null), tabPage the page of the
    // form's tab strip it lies on (or -1).
    const Rect& rect() const { return rect_; }
    Control* container() const { return container_; }
    int tabPage() const { return tabPage_; }
    // What it is placed in: its frame, else the form's tab strip when it
    // lies on a page, else nothing (the form itself).
    const Control* parent() const;
    // Visits the control, then each parent outwards, while `visit` says go
    // on. True when it got past the outermost; false when a visit stopped
    // it or the chain is longer than any layout nests (a loop).
    template <typename Visit>
    bool walkOut(Visit visit) const;

    // Set once by the owning window while it builds its layout.
    // Texts as literals: a layout of many calls stays small.
    Control& place(const char* caption, Rect r, Control* container = nullptr, int tabPage = -1,
                   const char* tooltip = "");

    Peer* peer() const { return peer_; }
    void setPeer(Peer* p) { peer_ = p; }

protected:
    void notify(Aspect a);
    friend class OptionArray;

    Form& form_;
    Kind kind_;
    std::string name_;
    int index_ = -1;
    std::string caption_, tooltip_;
    bool enabled_ = true, visible_ = true;
    Rect rect_;
    Control* container_ = nullptr;
    int tabPage_ = -1;
    Peer* peer_ = nullptr;
};

template <typename Visit>
bool Control::walkOut(Visit visit) const {
    constexpr int kMaxNesting = 32;
    const Control* at = this;
    for (int depth = 0; at; ++depth, at = at->parent())
        if (depth == kMaxNesting || !visit(*at)) return false;
    return true;
}

class Button : public Control {
public:
    Button(Form& f, const char* name) : Control(f, Kind::Button, name) {}
    // A press: runs Click (the realization calls this for the user's click).
    void click();
    std::function<void()> Click;
    bool isDefault = false;  // Enter presses it
    bool isCancel = false;   // Esc presses it
};

class CheckBox : public Control {
public:
    CheckBox(Form& f, const char* name) : Control(f, Kind::CheckBox, name) {}
    int value() const { return value_; }
    // 0 unchecked, 1 checked, 2 grayed; anything else is refused.
    bool setValue(int v);
    // The value a user's click gives: 0 -> 1, 1 -> 0, grayed -> 0.
    int clickedValue() const { return value_ == 0 ? 1 : 0; }
    std::function<void()> Click;

private:
    int value_ = 0;
};

class OptionArray;

class OptionButton : public Control {
public:
    OptionButton(OptionArray& arr, Form& f, const char* name, int index);
    bool value() const { return value_; }
    // Selecting it deselects its siblings and runs the array's Click(index).
    void select();
    // The user's click, Space or mnemonic: Click runs even if already selected.
    void choose();
    OptionArray& array() const { return array_; }

private:
    friend class OptionArray;
    OptionArray& array_;
    bool value_ = false;
};

// Option buttons of one group, addressed by index.
class OptionArray {
public:
    OptionArray(Form& f, const char* name, int count);
    OptionButton& operator[](int i) { return *buttons_.at(i); }
    int count() const { return static_cast<int>(buttons_.size()); }
    int selected() const;  // -1 for none
    // The button Tab lands on: the selected one, else the first.
    int tabStop() const;
    // Index out of range is refused.
    bool select(int i);
    // The user's choice of button i: as select, but Click runs even when i
    // is already the selected one.
    bool choose(int i);
    // None selected, as the array is created; runs no handler.
    void clear();
    const std::string& name() const { return name_; }
    std::function<void(int)> Click;

private:
    friend class OptionButton;
    std::string name_;
    std::vector<std::unique_ptr<OptionButton>> buttons_;
};

class ComboList : public Control {
public:
    ComboList(Form& f, const char* name) : Control(f, Kind::ComboList, name) {}
    void addItem(const std::string& text);
    void clear();
    int listCount() const { return static_cast<int>(items_.size()); }
    const std::string& item(int i) const { return items_.at(i); }
    const std::vector<std::string>& items() const { return items_; }
    int listIndex() const { return listIndex_; }
    // -1 clears the choice; past the end is refused.
    bool setListIndex(int i);
    // The user's pick from the opened list: as setListIndex, but Click runs
    // even when i is the entry already shown. There is no picking "none".
    bool pick(int i);
    // The chosen entry's text, "" with none.
    std::string text() const;
    std::function<void()> Click;

private:
    std::vector<std::string> items_;
    int listIndex_ = -1;
};

// A completed scroll-bar move.
enum class ScrollRequest { LineLeft, LineRight, PageLeft, PageRight, Left, Right, ThumbPosition };

// A horizontal scroll bar or a slider: a position between min and max.
class RangeControl : public Control {
public:
    RangeControl(Form& f, Kind k, const char* name, int min, int max)
        : Control(f, k, name), min_(min), max_(max) {}
    int value() const { return value_; }
    int min() const { return min_; }
    int max() const { return max_; }
    // Outside min..max is refused.
    bool setValue(int v);
    // Where a move leaves it, clamped into its range; trackPos is the thumb's
    // position for ThumbPosition.
    int scrollTarget(ScrollRequest request, int trackPos) const;
    std::function<void()> Change;
    int smallChange = 1, largeChange = 1;

private:
    int min_, max_, value_ = 0;
};

class HScrollBar : public RangeControl {
public:
    HScrollBar(Form& f, const char* name, int min, int max) : RangeControl(f, Kind::HScroll, name, min, max) {}
};

class Slider : public RangeControl {
public:
    Slider(Form& f, const char* name, int min, int max) : RangeControl(f, Kind::Slider, name, min, max) {}
};

class Label : public Control {
public:
    Label(Form& f, const char* name) : Control(f, Kind::Label, name) {}
    bool alignRight = false, alignCenter = false;
    // A heading font; 0 points keeps the window's dialog font.
    std::string fontName;
    double fontPoints = 0;
    bool bold = false;
};

class TextBox : public Control {
public:
    TextBox(Form& f, const char* name) : Control(f, Kind::TextBox, name) {}
    const std::string& text() const { return caption_; }
    // The realization reports the user's typing here; no handler runs.
    void setText(const std::string& t) { setCaption(t); }
    bool readOnly = false;
};

class Frame : public Control {
public:
    Frame(Form& f, const char* name) : Control(f, Kind::Frame, name) {}
};

class Picture : public Control {
public:
    Picture(Form& f, const char* name) : Control(f, Kind::Picture, name) {}
    // Which drawing the realization shows (see ui/Images.h).
    int image = 0;
};

class TabStrip : public Control {
public:
    TabStrip(Form& f, const char* name) : Control(f, Kind::TabStrip, name) {}
    void addTab(const std::string& caption) { tabs_.push_back(caption); }
    const std::vector<std::string>& tabs() const { return tabs_; }
    int currentTab() const { return current_; }
    bool setCurrentTab(int i);
    std::function<void()> Click;

private:
    std::vector<std::string> tabs_;
    int current_ = 0;
};

class ListView : public Control {
public:
    struct Item {
        std::string text;
        int image;  // index into the image list
    };
    ListView(Form& f, const char* name) : Control(f, Kind::ListView, name) {}
    // Adds an item; returns its number, counted from 1.
    int addItem(const std::string& text, int image);
    const std::vector<Item>& items() const { return items_; }
    // Number of the selected item, counted from 1; 0 for none.
    int selectedItem() const { return selected_; }
    bool setSelectedItem(int n);
    // The user's double click (the realization calls this).
    void dblClick();
    std::function<void()> DblClick;
    std::vector<int> imageList;       // the image list's drawings (ui/Images.h)
    std::vector<int> smallImageList;  // the same for small icons and the report view

private:
    std::vector<Item> items_;
    int selected_ = 0;
};

}  // namespace ui
