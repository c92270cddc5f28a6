#include "ui/win32/FormWindow.h"

#include <algorithm>
#include <cstring>

#include "ui/win32/SystemMenu.h"
#include "ui/win32/Win32Ui.h"

namespace ui::win32 {

namespace {

constexpr int kFirstId = 100;  // clear of IDOK and IDCANCEL
constexpr UINT_PTR kIdleTimer = 1;

struct Pushing {
    int& n;
    explicit Pushing(int& c) : n(c) { ++n; }
    ~Pushing() { --n; }
};

void setName(HWND h, ATOM atom) {
    if (atom) SetPropA(h, kNameProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(atom)));
}

}  // namespace

FormWindow::FormWindow(Toolkit& tk, Form& form) : tk_(tk), form_(&form) {}

FormWindow::~FormWindow() { teardown(); }

HINSTANCE FormWindow::instance() const { return tk_.instance(); }
HFONT FormWindow::font() const { return tk_.font(); }
int FormWindow::dpi() const { return tk_.dpi(); }

void FormWindow::toModel(UserAction action) {
    if (dead_ || pushing_ || !form_) return;
    form_->fromUser(action);
}

void FormWindow::realizationFailed() {
    // Inside the catch of a window procedure. Told once per window: a
    // failure while painting would otherwise come back with every repaint
    // the message box itself causes.
    if (failureTold_ || dead_ || !form_) return;
    failureTold_ = true;
    form_->reportFailure();
}

ControlPeer* FormWindow::peerAt(HWND h) const {
    if (!h) return nullptr;
    for (const auto& p : peers_)
        if (p->hwnd() == h) return p.get();
    return nullptr;
}

// ---------------------------------------------------------------- building

void FormWindow::build() {
    Form& f = *form_;
    isMain_ = !f.isDialog();
    HWND owner = f.owner() ? tk_.windowOf(f.owner()) : nullptr;

    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    DWORD ex = 0;
    if (isMain_) {
        style |= WS_MINIMIZEBOX;
    } else {
        // A fixed single border with its close box. It gets its own taskbar
        // button: its owner is hidden while it is open, and the user must
        // still find it.
        ex |= WS_EX_APPWINDOW;
    }
    // Without an icon of its own or its class's, only a modal frame keeps
    // the system's default icon out of the title bar.
    if (!f.hasIcon) ex |= WS_EX_DLGMODALFRAME;
    const int px = tk_.dpi();
    RECT r = {0, 0, layout::twipsToPixels(f.clientWidth(), px), layout::twipsToPixels(f.clientHeight(), px)};
    AdjustWindowRectEx(&r, style, FALSE, ex);
    hwnd_ = CreateWindowExA(ex, className(), f.caption().c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                            r.right - r.left, r.bottom - r.top, owner, nullptr, tk_.instance(), this);
    if (!hwnd_) return;
    if (f.hasIcon) {
        const Window w{hwnd_};
        w.send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(tk_.icon(false)));
        w.send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(tk_.icon(true)));
    }

    systemmenu::install(hwnd_, f);

    formAtom_ = GlobalAddAtomA(f.name().c_str());
    setName(hwnd_, formAtom_);

    Pushing guard(pushing_);
    const auto& controls = f.controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        peers_.push_back(makePeer(*this, *controls[i], kFirstId + static_cast<int>(i)));
        controls[i]->setPeer(peers_.back().get());
    }
    const TabStrip* strip = f.tabStrip();
    tabs_ = strip ? ControlPeer::of(*strip) : nullptr;
    // Every page costs its share of the start, the drop-down lists most: a
    // window of their own each. Only the one on show is made now.
    int current = -1;
    if (strip) {
        pageBuilt_.assign(strip->tabs().size(), false);
        current = strip->currentTab();
        if (current >= 0 && current < static_cast<int>(pageBuilt_.size())) pageBuilt_[current] = true;
    }
    std::vector<std::size_t> now;
    for (std::size_t i = 0; i < peers_.size(); ++i) {
        const int page = layout::pageOf(peers_[i]->control());
        if (page < 0 || page == current) now.push_back(i);
    }
    createPeers(now, false);
    renderPage();
}

// Makes the windows of `which` (in reading order), stacked and filled from
// the model; `later` when the form is already up and they must slot in
// among the controls made before them.
void FormWindow::createPeers(const std::vector<std::size_t>& which, bool later) {
    for (std::size_t i : which) peers_[i]->create();
    if (later) stackAfterPredecessors(which);
    arrangeZOrder();
    for (std::size_t i : which)
        if (peers_[i]->hwnd()) peers_[i]->init();
    // Named last: a test that finds a control by name finds it filled.
    for (std::size_t i : which) nameWindow(*peers_[i]);
    if (tips_.exists()) addTips(which);
}

void FormWindow::nameWindow(ControlPeer& p) {
    if (!p.hwnd() || p.nameAtom) return;
    p.nameAtom = GlobalAddAtomA(p.testName().c_str());
    setName(p.hwnd(), p.nameAtom);
}

// A new child window goes to the bottom of the stack, beneath the tab strip
// that would then hide it, and last in the Tab order. Each goes right after
// the control before it in reading order instead; the containers are put
// back beneath everything afterwards.
void FormWindow::stackAfterPredecessors(const std::vector<std::size_t>& which) {
    for (std::size_t i : which) {
        if (!peers_[i]->hwnd()) continue;
        HWND after = HWND_TOP;
        for (std::size_t j = i; j-- > 0;) {
            if (peers_[j]->hwnd() && peers_[j]->containerDepth() < 0) {
                after = peers_[j]->hwnd();
                break;
            }
        }
        peers_[i]->window().stackAfter(after);
    }
}

// Frames and the tab strip go beneath what lies on them, so that with
// WS_CLIPSIBLINGS each control paints over its container and never under
// it. The reading order of everything else stays the Tab order.
void FormWindow::arrangeZOrder() {
    std::vector<std::pair<int, const ControlPeer*>> containers;
    for (const auto& p : peers_)
        if (p->hwnd() && p->containerDepth() >= 0) containers.push_back({p->containerDepth(), p.get()});
    // Innermost first: each move to the bottom goes beneath the ones before.
    std::stable_sort(containers.begin(), containers.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& e : containers) e.second->window().stackAfter(HWND_BOTTOM);
}

void FormWindow::buildPage(int page) {
    if (page < 0 || page >= static_cast<int>(pageBuilt_.size()) || pageBuilt_[page]) return;
    pageBuilt_[page] = true;
    std::vector<std::size_t> which;
    for (std::size_t i = 0; i < peers_.size(); ++i)
        if (layout::pageOf(peers_[i]->control()) == page) which.push_back(i);
    Pushing guard(pushing_);
    createPeers(which, true);
}

// What waits for the window to be on screen, a piece per timer tick so the
// user's input gets through in between: the tooltips, then each page.
void FormWindow::idleStep() {
    const bool wantsTips = std::any_of(peers_.begin(), peers_.end(),
                                       [](const auto& p) { return !p->control().tooltip().empty(); });
    if (!tips_.exists() && wantsTips && tips_.create(hwnd_, tk_.instance(), tk_.dpi())) {
        std::vector<std::size_t> made;
        for (std::size_t i = 0; i < peers_.size(); ++i)
            if (peers_[i]->hwnd()) made.push_back(i);
        addTips(made);
        return;
    }
    for (std::size_t p = 0; p < pageBuilt_.size(); ++p) {
        if (!pageBuilt_[p]) {
            buildPage(static_cast<int>(p));
            return;
        }
    }
    KillTimer(hwnd_, kIdleTimer);
    SetPropA(hwnd_, kBuiltProperty, reinterpret_cast<HANDLE>(1));
}

// The tips on the form come last, so that the controls inside a frame come
// before the frame's own.
void FormWindow::addTips(const std::vector<std::size_t>& which) {
    for (bool onForm : {false, true}) {
        for (std::size_t i : which) {
            ControlPeer& p = *peers_[i];
            if (!p.hwnd() || p.control().tooltip().empty() || p.tipOnForm() != onForm) continue;
            p.hasFormTip = tips_.add(p.hwnd(), p.id(), p.control().tooltip(), onForm);
            if (p.hasFormTip) refresh(p);
        }
    }
}

void FormWindow::renderPage() {
    page_.render(tabs_ ? tabs_->hwnd() : nullptr, tabs_ ? tabs_->rect() : layout::PixelRect());
}

void FormWindow::pageRestyled() {
    if (!page_.themed()) return;
    renderPage();
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void FormWindow::teardown() {
    if (dead_) return;
    dead_ = true;
    form_ = nullptr;
    if (hwnd_) {
        for (const auto& p : peers_)
            if (p->hwnd()) RemovePropA(p->hwnd(), kNameProperty);
        RemovePropA(hwnd_, kNameProperty);
        RemovePropA(hwnd_, kBuiltProperty);
        // Takes the controls and the tooltip window with it.
        DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
    tips_.forget();
    for (const auto& p : peers_)
        if (p->nameAtom) GlobalDeleteAtom(p->nameAtom);
    if (formAtom_) GlobalDeleteAtom(formAtom_);
    formAtom_ = 0;
    page_.free();
    tabs_ = nullptr;
    for (auto& p : peers_) retired_.push_back(std::move(p));
    peers_.clear();
}

// ------------------------------------------------------- model to windows

void FormWindow::showChange(ControlPeer& p, Aspect what) {
    if (dead_ || !hwnd_ || !p.hwnd()) return;
    Pushing guard(pushing_);
    p.show(what);
}

void FormWindow::refresh(ControlPeer& p) {
    if (!p.hwnd()) return;
    const Control& c = p.control();
    const bool shown = c.shownNow(), enabled = c.enabledNow();
    p.window().showAndEnable(shown, enabled);
    if (p.hasFormTip) tips_.cover(p.id(), p.rect(), p.tipOnForm() ? shown : shown && !enabled);
}

void FormWindow::refreshAll() {
    for (auto& p : peers_) refresh(*p);
    keyboard_.fixFocus();
}

void FormWindow::resync(ControlPeer& p) {
    if (dead_ || !p.hwnd()) return;
    Pushing guard(pushing_);
    p.pushValue();
    p.pushText();
}

void FormWindow::updateForm(FormAspect what) {
    if (dead_ || !hwnd_ || !form_) return;
    switch (what) {
        case FormAspect::Caption:
            SetWindowTextA(hwnd_, form_->caption().c_str());
            break;
        case FormAspect::Visible:
            if (form_->visible()) {
                if (!placed_) {
                    centre();
                    placed_ = true;
                }
                ShowWindow(hwnd_, isMain_ ? tk_.takeFirstShow() : SW_SHOW);
                if (IsWindowEnabled(hwnd_)) SetForegroundWindow(hwnd_);
                if (!idleStarted_) {
                    // Painted at once, as the user expects of a window
                    // that has appeared; the rest is made after that.
                    UpdateWindow(hwnd_);
                    idleStarted_ = true;
                    SetTimer(hwnd_, kIdleTimer, USER_TIMER_MINIMUM, nullptr);
                }
            } else {
                ShowWindow(hwnd_, SW_HIDE);
            }
            break;
        case FormAspect::Enabled:
            EnableWindow(hwnd_, form_->enabled());
            break;
        case FormAspect::Front:
            if (IsWindowVisible(hwnd_)) {
                SetForegroundWindow(hwnd_);
                BringWindowToTop(hwnd_);
            }
            break;
    }
}

// The main window in the middle of its screen, a dialog over its owner
// unless it asks for the screen.
void FormWindow::centre() {
    RECT wr;
    GetWindowRect(hwnd_, &wr);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    HWND owner = GetWindow(hwnd_, GW_OWNER);
    RECT ref;
    bool overOwner = !form_->centreOnScreen && owner && IsWindowVisible(owner) && !IsIconic(owner) &&
                     GetWindowRect(owner, &ref);
    MONITORINFO mi;
    std::memset(&mi, 0, sizeof mi);
    mi.cbSize = sizeof mi;
    HMONITOR mon = overOwner ? MonitorFromRect(&ref, MONITOR_DEFAULTTONEAREST)
                             : MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY);
    RECT work;
    if (!GetMonitorInfoA(mon, &mi)) SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    else work = mi.rcWork;
    if (!overOwner) ref = work;
    auto px = [](const RECT& r) {
        layout::PixelRect p;
        p.left = r.left;
        p.top = r.top;
        p.right = r.right;
        p.bottom = r.bottom;
        return p;
    };
    const layout::Point at = layout::centreOver(px(ref), w, h, px(work));
    SetWindowPos(hwnd_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ------------------------------------------------------- windows to model

LRESULT CALLBACK FormWindow::formProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
        auto* fw = static_cast<FormWindow*>(cs->lpCreateParams);
        fw->hwnd_ = h;
        SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(fw));
    }
    auto* fw = reinterpret_cast<FormWindow*>(GetWindowLongPtrA(h, GWLP_USERDATA));
    if (!fw) return DefWindowProcA(h, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(h, GWLP_USERDATA, 0);
        return DefWindowProcA(h, msg, wp, lp);
    }
    // The handler may unload the form; keep this object until we are out.
    std::shared_ptr<FormWindow> keep;
    try {
        keep = fw->shared_from_this();
    } catch (...) {
        return DefWindowProcA(h, msg, wp, lp);
    }
    try {
        return fw->proc(msg, wp, lp);
    } catch (...) {
        // Nothing may unwind into user32.
        fw->realizationFailed();
        return DefWindowProcA(h, msg, wp, lp);
    }
}

bool FormWindow::preTranslate(MSG& msg) {
    if (dead_ || !hwnd_) return false;
    auto keep = shared_from_this();
    return keyboard_.preTranslate(msg);
}

bool FormWindow::dialogMessage(MSG& msg) {
    if (dead_ || !hwnd_) return false;
    auto keep = shared_from_this();
    return keyboard_.dialogMessage(msg);
}

LRESULT FormWindow::proc(UINT msg, WPARAM wp, LPARAM lp) {
    if (dead_) return DefWindowProcA(hwnd_, msg, wp, lp);
    switch (msg) {
        case WM_COMMAND:
            return onCommand(wp, lp);
        case WM_NOTIFY: {
            const auto* nh = reinterpret_cast<const NMHDR*>(lp);
            if (ControlPeer* p = peerAt(nh->hwndFrom)) p->notify(*nh);
            return 0;
        }
        case WM_HSCROLL:
            if (ControlPeer* p = peerAt(reinterpret_cast<HWND>(lp))) p->scroll(LOWORD(wp));
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            const ControlPeer* p = peerAt(reinterpret_cast<HWND>(lp));
            LRESULT brush = 0;
            if (p && p->seesPage() && page_.colour(reinterpret_cast<HDC>(wp), p->rect(), brush)) return brush;
            break;
        }
        case WM_DRAWITEM:
            if (wp) {
                const auto& dis = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
                if (ControlPeer* p = peerAt(dis.hwndItem)) p->draw(dis);
                return TRUE;
            }
            break;
        case WM_ERASEBKGND:
            page_.paintForm(reinterpret_cast<HDC>(wp), hwnd_);
            return 1;
        case WM_PRINTCLIENT:
            page_.paintForm(reinterpret_cast<HDC>(wp), hwnd_);
            return 0;
        case WM_CLOSE:
            // The title-bar close box; a disabled window is waiting for its
            // dialog and cannot be closed.
            if (form_ && IsWindowEnabled(hwnd_)) toModel([this] { form_->closeBox(); });
            return 0;
        case WM_ACTIVATE:
            keyboard_.activated(wp);
            return 0;
        case WM_INITMENUPOPUP:
            if (HIWORD(lp) && form_) systemmenu::refresh(hwnd_, *form_);
            break;
        case WM_SYSCOMMAND: {
            const int command = form_ ? systemmenu::commandOf(wp, *form_) : -1;
            if (command < 0) break;
            toModel([this, command] { form_->runSystemCommand(static_cast<std::size_t>(command)); });
            return 0;
        }
        case WM_TIMER:
            if (wp == kIdleTimer) {
                idleStep();
                return 0;
            }
            break;
        case WM_SETFOCUS:
            // The form itself has nothing to type into: pass the focus on.
            keyboard_.restoreFocus();
            return 0;
        case WM_NEXTDLGCTL:
            keyboard_.nextControl(wp, lp);
            return 0;
        case DM_GETDEFID:
            return keyboard_.defaultId();
        case WM_THEMECHANGED:
        case WM_SYSCOLORCHANGE:
            for (const auto& p : peers_)
                if (p->hwnd()) p->window().send(msg, wp, lp);
            renderPage();
            RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            return 0;
    }
    return DefWindowProcA(hwnd_, msg, wp, lp);
}

LRESULT FormWindow::onCommand(WPARAM wp, LPARAM lp) {
    const int id = LOWORD(wp);
    if (id == IDOK || id == IDCANCEL) {
        if (id == IDCANCEL) keyboard_.cancel();
        return 0;
    }
    const int i = id - kFirstId;
    if (i < 0 || i >= static_cast<int>(peers_.size())) return 0;
    ControlPeer& p = *peers_[static_cast<std::size_t>(i)];
    if (lp && p.hwnd() == reinterpret_cast<HWND>(lp)) p.command(HIWORD(wp));
    return 0;
}

}  // namespace ui::win32
