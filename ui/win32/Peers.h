// The peer classes, one per kind of control: push buttons, check boxes and
// option buttons (ButtonPeers.cpp); drop-down lists, the tab strip and the
// list view (ListPeers.cpp); scroll bars and sliders (RangePeers.cpp);
// labels, text boxes, frames and pictures (StaticPeers.cpp).
#pragma once
#include "ui/win32/ControlPeer.h"

#include <commctrl.h>

namespace ui::win32 {

class ButtonPeer : public ControlPeer {
public:
    ButtonPeer(PeerHost& host, Button& b, int id) : ControlPeer(host, b, id), b_(b) {}
    void command(int code) override;
    bool showsCaption() const override { return true; }
    bool isPushButton() const override { return true; }
    bool isDefault() const override { return b_.isDefault; }
    bool isCancel() const override { return b_.isCancel; }
    void press() override;
    void showAsDefault(bool on) override { ButtonWnd{wnd_.h}.showAsDefault(on); }

protected:
    Style style() const override;

private:
    Button& b_;
};

class CheckBoxPeer : public ControlPeer {
public:
    CheckBoxPeer(PeerHost& host, CheckBox& b, int id) : ControlPeer(host, b, id), b_(b) {}
    void pushValue() override { ButtonWnd{wnd_.h}.setCheck(b_.value()); }
    void command(int code) override;
    bool showsCaption() const override { return true; }

protected:
    Style style() const override;

private:
    CheckBox& b_;
};

class OptionPeer : public ControlPeer {
public:
    OptionPeer(PeerHost& host, OptionButton& o, int id) : ControlPeer(host, o, id), o_(o) {}
    void pushValue() override;
    void command(int code) override;
    bool showsCaption() const override { return true; }
    ControlPeer& focusTarget() override;
    std::string testName() const override;
    const OptionArray& array() const { return o_.array(); }
    void select();

protected:
    Style style() const override;
    bool startsGroup() const override { return o_.index() == 0; }
    bool subclassed() const override { return true; }
    bool ownMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    OptionButton& o_;
    // Set while it takes the focus: the BN_CLICKED Windows sends from
    // inside WM_SETFOCUS is not a click, and must not select it.
    bool focusing_ = false;
};

class ComboPeer : public ControlPeer {
public:
    ComboPeer(PeerHost& host, ComboList& l, int id) : ControlPeer(host, l, id), l_(l) {}
    void pushList() override;
    void pushValue() override { ComboBoxWnd{wnd_.h}.select(l_.listIndex()); }
    void command(int code) override;

protected:
    Style style() const override;

private:
    void take(bool pick);
    ComboList& l_;
    // Its opened list: a pick from it counts at its close.
    bool dropped_ = false, picked_ = false;
};

class TabPeer : public ControlPeer {
public:
    TabPeer(PeerHost& host, TabStrip& t, int id) : ControlPeer(host, t, id), t_(t) {}
    void init() override;
    void show(Aspect what) override;
    void pushValue() override;
    void notify(const NMHDR& nh) override;
    int containerDepth() const override { return 0; }
    bool stepPage(bool back) override;

protected:
    Style style() const override;

private:
    // The strip whose pages the form's controls lie on.
    bool holdsPages() const { return t_.form().tabStrip() == &t_; }
    int paddingFor(int width) const;
    void turnTo(int tab);

    TabStrip& t_;
    // Tabs as wide as their captions with this padding (0 the usual one),
    // or -1: equal tabs across the strip.
    mutable int padding_ = 0;
};

class ListViewPeer : public ControlPeer {
public:
    ListViewPeer(PeerHost& host, ListView& lv, int id) : ControlPeer(host, lv, id), lv_(lv) {}
    ~ListViewPeer() override;
    void init() override;
    void pushList() override;
    void pushValue() override;
    void notify(const NMHDR& nh) override;
    bool takesEnter() const override { return true; }

protected:
    Style style() const override;

private:
    void fitIconSpacing(int count);
    ListView& lv_;
    HIMAGELIST images_ = nullptr, smallImages_ = nullptr;
};

// Scroll bars and sliders share the mouse wheel.
class RangePeer : public ControlPeer {
public:
    RangePeer(PeerHost& host, RangeControl& r, int id) : ControlPeer(host, r, id), r_(r) {}
    bool wheel(int notches) override;

protected:
    void take(int value);
    RangeControl& r_;
};

class ScrollBarPeer : public RangePeer {
public:
    ScrollBarPeer(PeerHost& host, HScrollBar& b, int id) : RangePeer(host, b, id) {}
    void pushValue() override { ScrollBarWnd{wnd_.h}.setRange(r_.min(), r_.max(), r_.value()); }
    void scroll(int code) override;

protected:
    Style style() const override { return {"SCROLLBAR", WS_TABSTOP | SBS_HORZ}; }
};

class SliderPeer : public RangePeer {
public:
    SliderPeer(PeerHost& host, Slider& s, int id) : RangePeer(host, s, id) {}
    void init() override;
    void pushValue() override { TrackbarWnd{wnd_.h}.setPos(r_.value()); }
    void scroll(int code) override;

protected:
    Style style() const override { return {TRACKBAR_CLASSA, WS_TABSTOP | TBS_HORZ | TBS_AUTOTICKS}; }
};

class LabelPeer : public ControlPeer {
public:
    LabelPeer(PeerHost& host, Label& l, int id) : ControlPeer(host, l, id), l_(l) {}
    ~LabelPeer() override;
    bool focusable() const override { return false; }
    bool showsCaption() const override { return true; }
    bool leadsToNext() const override { return true; }

protected:
    Style style() const override;
    HFONT font() override;

private:
    Label& l_;
    HFONT font_ = nullptr;  // a heading's own font
};

class TextBoxPeer : public ControlPeer {
public:
    TextBoxPeer(PeerHost& host, TextBox& t, int id) : ControlPeer(host, t, id), t_(t) {}
    void pushText() override { wnd_.setText(t_.text()); }
    void command(int code) override;
    bool seesPage() const override { return false; }
    void takeFocus() override;

protected:
    Style style() const override;

private:
    TextBox& t_;
};

class FramePeer : public ControlPeer {
public:
    FramePeer(PeerHost& host, Frame& f, int id) : ControlPeer(host, f, id) {}
    bool focusable() const override { return false; }
    bool showsCaption() const override { return true; }
    bool leadsToNext() const override { return true; }
    bool tipOnForm() const override { return true; }
    int containerDepth() const override;

protected:
    Style style() const override { return {"BUTTON", BS_GROUPBOX, 0, true}; }
    bool subclassed() const override { return true; }
    bool ownMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};

class PicturePeer : public ControlPeer {
public:
    PicturePeer(PeerHost& host, Picture& p, int id) : ControlPeer(host, p, id), p_(p) {}
    bool focusable() const override { return false; }
    void draw(const DRAWITEMSTRUCT& dis) override;

protected:
    Style style() const override;

private:
    Picture& p_;
};

}  // namespace ui::win32
