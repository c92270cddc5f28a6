#include "ui/Controls.h"

#include <algorithm>
#include <cctype>

#include "ui/Form.h"

namespace ui {

Control::Control(Form& form, Kind kind, const char* name) : form_(form), kind_(kind), name_(name) {
    form.add(this);
}

void Control::notify(Aspect a) {
    if (peer_) peer_->update(*this, a);
}

void Control::setCaption(const std::string& c) {
    if (c == caption_) return;
    caption_ = c;
    notify(kind_ == Kind::TextBox ? Aspect::Text : Aspect::Caption);
}

void Control::setEnabled(bool e) {
    if (e == enabled_) return;
    enabled_ = e;
    notify(Aspect::Enabled);
}

void Control::setVisible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    notify(Aspect::Visible);
}

const Control* Control::parent() const {
    if (container_) return container_;
    if (tabPage_ < 0) return nullptr;
    const TabStrip* ts = form_.tabStrip();
    return ts != this ? ts : nullptr;
}

bool Control::shownNow() const {
    return walkOut([](const Control& k) {
        // A page is on show when it is the tab strip's current one.
        const Control* p = k.parent();
        const bool onPage = p && !k.container();
        return k.visible() && (!onPage || static_cast<const TabStrip*>(p)->currentTab() == k.tabPage());
    });
}

bool Control::enabledNow() const {
    return walkOut([](const Control& k) { return k.enabled(); });
}

bool Control::usable() const { return form_.enabled() && form_.visible() && shownNow() && enabledNow(); }

char Control::accessKey() const {
    for (std::size_t i = 0; i + 1 < caption_.size(); ++i) {
        if (caption_[i] != '&') continue;
        if (caption_[i + 1] == '&') {
            ++i;
            continue;
        }
        return static_cast<char>(std::toupper(static_cast<unsigned char>(caption_[i + 1])));
    }
    return 0;
}

Control& Control::place(const char* caption, Rect r, Control* container, int tabPage, const char* tooltip) {
    caption_ = caption;
    rect_ = r;
    container_ = container;
    tabPage_ = container && tabPage < 0 ? container->tabPage_ : tabPage;
    tooltip_ = tooltip;
    return *this;
}

void Button::click() {
    if (Click) Click();
}

bool CheckBox::setValue(int v) {
    if (v < 0 || v > 2) return false;
    if (v == value_) return true;
    value_ = v;
    notify(Aspect::Value);
    if (Click && !form_.silenced()) Click();
    return true;
}

OptionButton::OptionButton(OptionArray& arr, Form& f, const char* name, int index)
    : Control(f, Kind::Option, name), array_(arr) {
    index_ = index;
}

void OptionButton::select() { array_.select(index_); }

void OptionButton::choose() { array_.choose(index_); }

OptionArray::OptionArray(Form& f, const char* name, int count) : name_(name) {
    for (int i = 0; i < count; ++i) buttons_.push_back(std::make_unique<OptionButton>(*this, f, name, i));
}

int OptionArray::selected() const {
    for (const auto& b : buttons_)
        if (b->value_) return b->index_;
    return -1;
}

int OptionArray::tabStop() const {
    const int s = selected();
    return s >= 0 ? s : 0;
}

bool OptionArray::select(int i) {
    if (i < 0 || i >= count()) return false;
    if (buttons_[i]->value_) return true;
    for (auto& b : buttons_) {
        if (b->value_) {
            b->value_ = false;
            b->notify(Aspect::Value);
        }
    }
    buttons_[i]->value_ = true;
    buttons_[i]->notify(Aspect::Value);
    if (Click && !buttons_[i]->form().silenced()) Click(i);
    return true;
}

bool OptionArray::choose(int i) {
    if (i < 0 || i >= count()) return false;
    if (!buttons_[i]->value_) return select(i);
    if (Click && !buttons_[i]->form().silenced()) Click(i);
    return true;
}

void OptionArray::clear() {
    for (auto& b : buttons_) {
        if (b->value_) {
            b->value_ = false;
            b->notify(Aspect::Value);
        }
    }
}

void ComboList::addItem(const std::string& text) {
    items_.push_back(text);
    notify(Aspect::List);
}

void ComboList::clear() {
    items_.clear();
    listIndex_ = -1;
    notify(Aspect::List);
}

bool ComboList::setListIndex(int i) {
    if (i < -1 || i >= listCount()) return false;
    if (i == listIndex_) return true;
    listIndex_ = i;
    notify(Aspect::Value);
    if (Click && !form_.silenced()) Click();
    return true;
}

bool ComboList::pick(int i) {
    if (i < 0 || i >= listCount()) return false;
    if (i != listIndex_) return setListIndex(i);
    if (Click && !form_.silenced()) Click();
    return true;
}

std::string ComboList::text() const { return listIndex_ >= 0 ? items_[listIndex_] : std::string(); }

bool RangeControl::setValue(int v) {
    if (v < min_ || v > max_) return false;
    if (v == value_) return true;
    value_ = v;
    notify(Aspect::Value);
    if (Change && !form_.silenced()) Change();
    return true;
}

int RangeControl::scrollTarget(ScrollRequest request, int trackPos) const {
    long long v = value_;
    switch (request) {
        case ScrollRequest::LineLeft: v -= smallChange; break;
        case ScrollRequest::LineRight: v += smallChange; break;
        case ScrollRequest::PageLeft: v -= largeChange; break;
        case ScrollRequest::PageRight: v += largeChange; break;
        case ScrollRequest::Left: v = min_; break;
        case ScrollRequest::Right: v = max_; break;
        case ScrollRequest::ThumbPosition: v = trackPos; break;
    }
    return static_cast<int>(std::clamp<long long>(v, min_, max_));
}

bool TabStrip::setCurrentTab(int i) {
    if (i < 0 || i >= static_cast<int>(tabs_.size())) return false;
    if (i == current_) return true;
    current_ = i;
    notify(Aspect::Value);
    if (Click && !form_.silenced()) Click();
    return true;
}

int ListView::addItem(const std::string& text, int image) {
    items_.push_back({text, image});
    notify(Aspect::List);
    return static_cast<int>(items_.size());
}

bool ListView::setSelectedItem(int n) {
    if (n < 0 || n > static_cast<int>(items_.size())) return false;
    if (n == selected_) return true;
    selected_ = n;
    notify(Aspect::Value);
    return true;
}

void ListView::dblClick() {
    if (DblClick) DblClick();
}

}  // namespace ui
