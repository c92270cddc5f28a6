// Scroll bars and sliders (trackbars): a position in a range, taken when a
// move ends.
#include "ui/win32/Peers.h"

namespace ui::win32 {

void RangePeer::take(int value) {
    RangeControl& r = r_;
    host_.toModel([&r, value] { r.setValue(value); });
    host_.resync(*this);
}

// Not every trackbar ends a wheel turn with TB_ENDTRACK, and a scroll bar
// ignores the wheel: one notch is one small step, taken here.
bool RangePeer::wheel(int notches) {
    if (!reachable()) return false;
    if (notches != 0) {
        const long long step = static_cast<long long>(notches) * std::max(1, r_.smallChange);
        take(static_cast<int>(std::clamp<long long>(r_.value() - step, r_.min(), r_.max())));
    }
    return true;
}

void ScrollBarPeer::scroll(int code) {
    const ScrollBarWnd bar{wnd_.h};
    ScrollRequest req;
    switch (code) {
        case SB_THUMBTRACK:
            // The thumb follows the mouse; the value waits for the release.
            bar.moveThumb(bar.trackPos());
            return;
        case SB_LINELEFT: req = ScrollRequest::LineLeft; break;
        case SB_LINERIGHT: req = ScrollRequest::LineRight; break;
        case SB_PAGELEFT: req = ScrollRequest::PageLeft; break;
        case SB_PAGERIGHT: req = ScrollRequest::PageRight; break;
        case SB_LEFT: req = ScrollRequest::Left; break;
        case SB_RIGHT: req = ScrollRequest::Right; break;
        case SB_THUMBPOSITION: req = ScrollRequest::ThumbPosition; break;
        default:
            return;  // SB_ENDSCROLL
    }
    if (!reachable()) {
        host_.resync(*this);
        return;
    }
    take(r_.scrollTarget(req, bar.trackPos()));
}

void SliderPeer::init() {
    const TrackbarWnd bar{wnd_.h};
    bar.setRange(r_.min(), r_.max());
    bar.setSteps(std::max(1, r_.smallChange), std::max(1, r_.largeChange));
    // Ticks at every page, but never so many they run together.
    int every = std::max(1, r_.largeChange);
    const int span = r_.max() - r_.min();
    if (span / every > 40) every = (span + 19) / 20;
    bar.setTickEvery(every);
    ControlPeer::init();
}

void SliderPeer::scroll(int code) {
    // The trackbar moves itself; the value is taken once, when the move
    // ends (a key press gives a step and then TB_ENDTRACK).
    if (code != TB_ENDTRACK && code != TB_THUMBPOSITION) return;
    const int pos = TrackbarWnd{wnd_.h}.pos();
    if (reachable()) take(pos);
    else host_.resync(*this);
}

}  // namespace ui::win32
