// The window of one control. A peer owns its child window's class and
// style, its set-up, how it shows a change of the model, and how it turns
// the window's notifications into the model's own setters. One class per
// kind of control (ButtonPeers, ListPeers, RangePeers, StaticPeers);
// makePeer picks it once, when the control is made. A peer sees its form
// only through PeerHost.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/Layout.h"
#include "ui/win32/Handles.h"

namespace ui::win32 {

class ControlPeer;
class PageBackground;

// What a control's window needs of the form it lies on.
class PeerHost {
public:
    virtual ~PeerHost() = default;
    virtual HWND window() const = 0;
    virtual HINSTANCE instance() const = 0;
    virtual HFONT font() const = 0;
    virtual int dpi() const = 0;
    virtual const PageBackground& page() const = 0;
    // Still standing: not torn down (a handler may unload the form).
    virtual bool alive() const = 0;

    // Runs a user's action on the model: never while model state is being
    // pushed into the windows, never after teardown, and no exception gets
    // out.
    virtual void toModel(UserAction action) = 0;
    // The window's own code failed (inside a catch): tells the user.
    virtual void realizationFailed() = 0;
    // Shows the model's state again after a user's action, which the model
    // may have refused or changed.
    virtual void resync(ControlPeer& p) = 0;

    // Shows one aspect of a model change in the peer's window, unless the
    // form is torn down or the window not made yet.
    virtual void showChange(ControlPeer& p, Aspect what) = 0;
    virtual ControlPeer* peerAt(HWND h) const = 0;
    // Shown and enabled as the model says: one window, or every one.
    virtual void refresh(ControlPeer& p) = 0;
    virtual void refreshAll() = 0;
    // The focus off a window that has just become unreachable.
    virtual void fixFocus() = 0;
    // Makes the windows of a tab page, if they are not made yet.
    virtual void buildPage(int page) = 0;
    // The tab strip drew its page differently: paint it anew.
    virtual void pageRestyled() = 0;
    // A push button took (`focused`) or lost (null) the focus.
    virtual void defaultMoved(const ControlPeer* focused) = 0;
    // The focus is moving by arrow key.
    virtual bool arrowing() const = 0;
};

// The control knows its peer (Control::peer), so a change of the model
// reaches its window directly.
class ControlPeer : public ui::Peer {
public:
    ControlPeer(PeerHost& host, Control& c, int id);
    ControlPeer(const ControlPeer&) = delete;
    ControlPeer& operator=(const ControlPeer&) = delete;
    ~ControlPeer() override;

    // The peer of a control of a realized form; null before.
    static ControlPeer* of(const Control& c) { return static_cast<ControlPeer*>(c.peer()); }
    void update(Control&, Aspect what) override { host_.showChange(*this, what); }

    Control& control() const { return c_; }
    HWND hwnd() const { return wnd_.h; }
    int id() const { return id_; }
    const layout::PixelRect& rect() const { return px_; }

    // The child window, hidden or shown as the model says; false when it
    // could not be made.
    bool create();
    // Fills the window from the model once it is stacked in place.
    virtual void init() { pushList(); pushValue(); }
    // Shows one aspect of a model change.
    virtual void show(Aspect what);
    // The model's state into the window.
    virtual void pushValue() {}
    virtual void pushList() {}
    virtual void pushText() {}
    const Window& window() const { return wnd_; }

    // The window's notifications, from WM_COMMAND, WM_NOTIFY, WM_HSCROLL.
    virtual void command(int /*code*/) {}
    virtual void notify(const NMHDR& /*nh*/) {}
    virtual void scroll(int /*code*/) {}
    // One turn of the mouse wheel while it has the focus; true when taken.
    virtual bool wheel(int /*notches*/) { return false; }
    virtual void draw(const DRAWITEMSTRUCT& /*dis*/) {}

    // Traits the form and the keyboard ask of a peer.
    virtual bool focusable() const { return true; }
    // A frame's (>= 1, deeper inside more frames) or the tab strip's (0)
    // place beneath the controls on it; -1 for a control that holds none.
    virtual int containerDepth() const { return -1; }
    // Its caption is its window text, and may carry an access key.
    virtual bool showsCaption() const { return false; }
    // Its access key moves the focus to what follows it.
    virtual bool leadsToNext() const { return false; }
    // Enter goes to it rather than to the default button.
    virtual bool takesEnter() const { return false; }
    // Draws what lies under it from the page's background.
    virtual bool seesPage() const { return c_.tabPage() >= 0; }
    // Its tooltip lives only on the form (a group box lets the mouse through).
    virtual bool tipOnForm() const { return false; }
    // A push button: the default (Enter) or cancel (Esc) one, and its press.
    virtual bool isPushButton() const { return false; }
    virtual bool isDefault() const { return false; }
    virtual bool isCancel() const { return false; }
    virtual void press() {}
    virtual void showAsDefault(bool /*on*/) {}
    // Ctrl+Tab: turns the tab strip's page; false when it turns none.
    virtual bool stepPage(bool /*back*/) { return false; }
    // Where the focus lands when moving to it: an option array's tab stop.
    virtual ControlPeer& focusTarget() { return *this; }
    virtual void takeFocus() { SetFocus(wnd_.h); }
    // The test hook's name (see Win32Ui.h).
    virtual std::string testName() const { return c_.name(); }

    // What a user could really click: the form enabled, the window shown and
    // enabled. Wine's BM_CLICK, for one, reaches hidden and disabled buttons.
    bool reachable() const;

    // The tooltip's tool on the form was added (see Tooltips).
    bool hasFormTip = false;
    ATOM nameAtom = 0;

protected:
    struct Style {
        const char* cls = "STATIC";
        DWORD style = 0;
        DWORD ex = 0;
        bool text = false;  // the caption is the window text
    };
    virtual Style style() const = 0;
    virtual bool startsGroup() const { return true; }
    virtual HFONT font() { return host_.font(); }
    // Seeing its own messages first (SetWindowSubclass).
    virtual bool subclassed() const { return false; }
    virtual bool ownMessage(UINT /*msg*/, WPARAM /*wp*/, LPARAM /*lp*/, LRESULT& /*result*/) { return false; }

    PeerHost& host_;
    Control& c_;
    Window wnd_;
    int id_;
    layout::PixelRect px_;

private:
    static LRESULT CALLBACK subclassProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref);
};

// The peer of the control's kind.
std::unique_ptr<ControlPeer> makePeer(PeerHost& host, Control& c, int id);

}  // namespace ui::win32
