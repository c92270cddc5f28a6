// What every control's window shares, and the one place that picks a
// peer's class from the control's kind; see ControlPeer.h.
#include "ui/win32/ControlPeer.h"

#include <commctrl.h>

#include "ui/win32/Peers.h"
#include "ui/win32/SystemApi.h"

namespace ui::win32 {

namespace {
constexpr UINT_PTR kPeerSubclassId = 1;
}

ControlPeer::ControlPeer(PeerHost& host, Control& c, int id) : host_(host), c_(c), id_(id) {}

ControlPeer::~ControlPeer() = default;

bool ControlPeer::create() {
    px_ = layout::toPixels(layout::absoluteRect(c_), host_.dpi());
    const Style s = style();
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | s.style;
    // Groups for the arrow keys: an option array is one, every other
    // control one of its own.
    if (startsGroup()) style |= WS_GROUP;
    if (c_.shownNow()) style |= WS_VISIBLE;
    if (!c_.enabledNow()) style |= WS_DISABLED;
    wnd_.h = CreateWindowExA(s.ex, s.cls, s.text ? c_.caption().c_str() : "", style, px_.left, px_.top, px_.width(),
                             px_.height(), host_.window(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)),
                             host_.instance(), nullptr);
    if (!wnd_.h) return false;
    wnd_.setFont(font());
    if (subclassed()) setWindowSubclass(wnd_.h, subclassProc, kPeerSubclassId, reinterpret_cast<DWORD_PTR>(this));
    return true;
}

LRESULT CALLBACK ControlPeer::subclassProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref) {
    if (msg == WM_NCDESTROY) {
        removeWindowSubclass(h, subclassProc, id);
        return defSubclassProc(h, msg, wp, lp);
    }
    auto* p = reinterpret_cast<ControlPeer*>(ref);
    LRESULT result = 0;
    try {
        if (p && p->host_.alive() && p->ownMessage(msg, wp, lp, result)) return result;
    } catch (...) {
        // Nothing may unwind into user32; the window carries on.
        if (p) p->host_.realizationFailed();
    }
    return defSubclassProc(h, msg, wp, lp);
}

void ControlPeer::show(Aspect what) {
    switch (what) {
        case Aspect::Caption:
            if (showsCaption()) wnd_.setText(c_.caption());
            break;
        case Aspect::Text:
            pushText();
            break;
        case Aspect::Value:
            pushValue();
            break;
        case Aspect::List:
            pushList();
            pushValue();
            break;
        case Aspect::Enabled:
        case Aspect::Visible:
            // What lies on a container follows it.
            if (containerDepth() >= 0) {
                host_.refreshAll();
            } else {
                host_.refresh(*this);
                host_.fixFocus();
            }
            break;
    }
}

bool ControlPeer::reachable() const {
    return wnd_.h && IsWindowEnabled(host_.window()) && wnd_.enabled() && wnd_.visible();
}

std::unique_ptr<ControlPeer> makePeer(PeerHost& host, Control& c, int id) {
    switch (c.kind()) {
        case Kind::Button: return std::make_unique<ButtonPeer>(host, static_cast<Button&>(c), id);
        case Kind::CheckBox: return std::make_unique<CheckBoxPeer>(host, static_cast<CheckBox&>(c), id);
        case Kind::Option: return std::make_unique<OptionPeer>(host, static_cast<OptionButton&>(c), id);
        case Kind::ComboList: return std::make_unique<ComboPeer>(host, static_cast<ComboList&>(c), id);
        case Kind::HScroll: return std::make_unique<ScrollBarPeer>(host, static_cast<HScrollBar&>(c), id);
        case Kind::Slider: return std::make_unique<SliderPeer>(host, static_cast<Slider&>(c), id);
        case Kind::Label: return std::make_unique<LabelPeer>(host, static_cast<Label&>(c), id);
        case Kind::TextBox: return std::make_unique<TextBoxPeer>(host, static_cast<TextBox&>(c), id);
        case Kind::Frame: return std::make_unique<FramePeer>(host, static_cast<Frame&>(c), id);
        case Kind::Picture: return std::make_unique<PicturePeer>(host, static_cast<Picture&>(c), id);
        case Kind::TabStrip: return std::make_unique<TabPeer>(host, static_cast<TabStrip&>(c), id);
        case Kind::ListView: return std::make_unique<ListViewPeer>(host, static_cast<ListView&>(c), id);
    }
    return nullptr;
}

}  // namespace ui::win32
