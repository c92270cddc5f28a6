#include "ui/win32/FormWindow.h"

#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "ui/win32/Drawings.h"
#include "ui/win32/SystemApi.h"
#include "ui/win32/SystemMenu.h"
#include "ui/win32/Win32Ui.h"

namespace ui::win32 {

using geometry::PixelRect;

namespace {

constexpr int kFirstId = 100;           // clear of IDOK and IDCANCEL
constexpr UINT_PTR kTipRectBase = 0x10000;  // tool ids of the disabled-control tips
constexpr UINT_PTR kSubclassId = 1;
constexpr UINT_PTR kIdleTimer = 1;

// The page brush tiles its strip from the tab strip's corner, which lies at
// (x, y) in the DC's logical units; brush origins count in device units (a
// DC handed over for printing is offset).
POINT pageOrigin(HDC dc, int x, int y) {
    POINT o = {x, y};
    LPtoDP(dc, &o, 1);
    return o;
}

// Set while an option button takes the focus: the BN_CLICKED Windows sends
// from inside WM_SETFOCUS is not a click, and must not select it.
HWND g_focusing = nullptr;
// Set while the dialog manager handles an arrow key: moving the focus along
// an option array then selects, as a user expects.
bool g_arrowKey = false;

struct Pushing {
    int& n;
    explicit Pushing(int& c) : n(c) { ++n; }
    ~Pushing() { --n; }
};

bool takesCaption(Kind k) {
    switch (k) {
        case Kind::Button:
        case Kind::CheckBox:
        case Kind::Option:
        case Kind::Label:
        case Kind::Frame:
            return true;
        default:
            return false;
    }
}

bool focusable(Kind k) {
    switch (k) {
        case Kind::Button:
        case Kind::CheckBox:
        case Kind::Option:
        case Kind::ComboList:
        case Kind::HScroll:
        case Kind::Slider:
        case Kind::TextBox:
        case Kind::TabStrip:
        case Kind::ListView:
            return true;
        default:
            return false;
    }
}

std::string windowText(HWND h) {
    const int n = GetWindowTextLengthA(h);
    std::string s(static_cast<std::size_t>(n) + 1, '\0');
    const int got = GetWindowTextA(h, &s[0], n + 1);
    s.resize(static_cast<std::size_t>(std::max(got, 0)));
    return s;
}

void setTextIfDifferent(HWND h, const std::string& text) {
    if (windowText(h) != text) SetWindowTextA(h, text.c_str());
}

int selectedListItem(HWND lv) {
    return static_cast<int>(SendMessageA(lv, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)) + 1;
}

void initToolInfo(TOOLINFOA& ti, HWND owner) {
    std::memset(&ti, 0, sizeof ti);
    // The size comctl32 5.8 and 6 both accept.
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.hwnd = owner;
}

}  // namespace

FormWindow::FormWindow(Toolkit& tk, Form& form) : tk_(tk), form_(&form) {}

FormWindow::~FormWindow() { teardown(); }

template <typename F>
void FormWindow::toModel(F&& f) {
    if (dead_ || pushing_ || !form_) return;
    try {
        f();
    } catch (...) {
        // A handler's failure must not unwind into user32; the window
        // carries on with whatever state the model kept.
    }
}

int FormWindow::px(int twips) const { return geometry::twipsToPixels(twips, tk_.dpi()); }

int FormWindow::indexOf(HWND h) const {
    if (!h) return -1;
    for (std::size_t i = 0; i < ctls_.size(); ++i)
        if (ctls_[i].h == h) return static_cast<int>(i);
    return -1;
}

int FormWindow::indexOfId(int id) const {
    const int i = id - kFirstId;
    return i >= 0 && i < static_cast<int>(ctls_.size()) ? i : -1;
}

// What a user could really click: the form enabled, the control shown and
// enabled. Wine's BM_CLICK, for one, reaches hidden and disabled buttons.
bool FormWindow::reachable(std::size_t i) const {
    const HWND h = ctls_[i].h;
    return h && IsWindowEnabled(hwnd_) && IsWindowEnabled(h) && IsWindowVisible(h);
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
    RECT r = {0, 0, px(f.clientWidth()), px(f.clientHeight())};
    AdjustWindowRectEx(&r, style, FALSE, ex);
    hwnd_ = CreateWindowExA(ex, className(), f.caption().c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                            r.right - r.left, r.bottom - r.top, owner, nullptr, tk_.instance(), this);
    if (!hwnd_) return;
    if (f.hasIcon) {
        SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(tk_.icon(false)));
        SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(tk_.icon(true)));
    }

    systemmenu::install(hwnd_, f);

    formAtom_ = GlobalAddAtomA(f.name().c_str());
    if (formAtom_) SetPropA(hwnd_, kNameProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(formAtom_)));

    Pushing guard(pushing_);
    const auto& controls = f.controls();
    ctls_.resize(controls.size());
    for (std::size_t i = 0; i < controls.size(); ++i) {
        ctls_[i].c = controls[i];
        ctls_[i].id = kFirstId + static_cast<int>(i);
        ctls_[i].page = geometry::pageOf(*controls[i]);
        if (controls[i]->kind() == Kind::TabStrip && tabIndex_ < 0) tabIndex_ = static_cast<int>(i);
    }
    // Every page costs its share of the start, the drop-down lists most: a
    // window of their own each. Only the one on show is made now.
    int current = -1;
    if (tabIndex_ >= 0) {
        const auto& t = static_cast<const TabStrip&>(*ctls_[tabIndex_].c);
        pageBuilt_.assign(t.tabs().size(), false);
        current = t.currentTab();
        if (current >= 0 && current < static_cast<int>(pageBuilt_.size())) pageBuilt_[current] = true;
    }
    std::vector<std::size_t> now;
    for (std::size_t i = 0; i < ctls_.size(); ++i)
        if (ctls_[i].page < 0 || ctls_[i].page == current) now.push_back(i);
    createControls(now, false);
    renderPage();

    f.formPeer = this;
    for (Ctl& k : ctls_) k.c->setPeer(this);
}

// Makes the windows of `which` (in reading order), stacked and filled from
// the model; `later` when the form is already up and they must slot in
// among the controls made before them.
void FormWindow::createControls(const std::vector<std::size_t>& which, bool later) {
    for (std::size_t i : which) createControl(i);
    if (later) stackAfterPredecessors(which);
    arrangeZOrder();
    for (std::size_t i : which) initControl(i);
    // Named last: a test that finds a control by name finds it filled.
    for (std::size_t i : which) nameControl(i);
    if (tip_) addTips(which);
}

void FormWindow::nameControl(std::size_t i) {
    Ctl& k = ctls_[i];
    if (!k.h || k.atom) return;
    std::string name = k.c->name();
    if (k.c->kind() == Kind::Option) name += "(" + std::to_string(k.c->index()) + ")";
    k.atom = GlobalAddAtomA(name.c_str());
    if (k.atom) SetPropA(k.h, kNameProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(k.atom)));
}

// A new child window goes to the bottom of the stack, beneath the tab strip
// that would then hide it, and last in the Tab order. Each goes right after
// the control before it in reading order instead; the containers are put
// back beneath everything afterwards.
void FormWindow::stackAfterPredecessors(const std::vector<std::size_t>& which) {
    for (std::size_t i : which) {
        if (!ctls_[i].h) continue;
        HWND after = HWND_TOP;
        for (std::size_t j = i; j-- > 0;) {
            const Kind kind = ctls_[j].c->kind();
            if (ctls_[j].h && kind != Kind::Frame && kind != Kind::TabStrip) {
                after = ctls_[j].h;
                break;
            }
        }
        SetWindowPos(ctls_[i].h, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void FormWindow::buildPage(int page) {
    if (page < 0 || page >= static_cast<int>(pageBuilt_.size()) || pageBuilt_[page]) return;
    pageBuilt_[page] = true;
    std::vector<std::size_t> which;
    for (std::size_t i = 0; i < ctls_.size(); ++i)
        if (ctls_[i].page == page) which.push_back(i);
    Pushing guard(pushing_);
    createControls(which, true);
}

// What waits for the window to be on screen, a piece per timer tick so the
// user's input gets through in between: the tooltips, then each page.
void FormWindow::idleStep() {
    if (!tip_ && wantsTips()) {
        tip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               tk_.instance(), nullptr);
        if (tip_) {
            SendMessageA(tip_, TTM_SETMAXTIPWIDTH, 0, MulDiv(300, tk_.dpi(), 96));
            std::vector<std::size_t> made;
            for (std::size_t i = 0; i < ctls_.size(); ++i)
                if (ctls_[i].h) made.push_back(i);
            addTips(made);
            return;
        }
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

void FormWindow::createControl(std::size_t i) {
    Ctl& k = ctls_[i];
    Control& c = *k.c;
    k.px = geometry::toPixels(geometry::absoluteRect(c), tk_.dpi());

    const char* cls = "STATIC";
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD ex = 0;
    std::string text = takesCaption(c.kind()) || c.kind() == Kind::TextBox ? c.caption() : std::string();
    int height = k.px.height();

    switch (c.kind()) {
        case Kind::Button: {
            const auto& b = static_cast<const Button&>(c);
            cls = "BUTTON";
            // BS_NOTIFY: its focus tells which button Enter would press.
            style |= WS_TABSTOP | BS_NOTIFY | (b.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
            break;
        }
        case Kind::CheckBox:
            // BS_3STATE: Windows never toggles it by itself; the model decides.
            cls = "BUTTON";
            style |= WS_TABSTOP | BS_3STATE | BS_MULTILINE;
            break;
        case Kind::Option: {
            const auto& o = static_cast<const OptionButton&>(c);
            cls = "BUTTON";
            style |= BS_RADIOBUTTON | BS_MULTILINE;
            if (o.index() == geometry::optionTabStop(o.array())) style |= WS_TABSTOP;
            break;
        }
        case Kind::ComboList:
            cls = "COMBOBOX";
            style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_HASSTRINGS;
            break;
        case Kind::HScroll:
            cls = "SCROLLBAR";
            style |= WS_TABSTOP | SBS_HORZ;
            break;
        case Kind::Slider:
            cls = TRACKBAR_CLASSA;
            style |= WS_TABSTOP | TBS_HORZ | TBS_AUTOTICKS;
            break;
        case Kind::Label: {
            const auto& l = static_cast<const Label&>(c);
            style |= l.alignRight ? SS_RIGHT : l.alignCenter ? SS_CENTER : SS_LEFT;
            // A static is transparent to the mouse unless it notifies, and
            // then its tooltip would never show.
            if (!c.tooltip().empty()) style |= SS_NOTIFY;
            break;
        }
        case Kind::TextBox: {
            const auto& t = static_cast<const TextBox&>(c);
            cls = "EDIT";
            style |= WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT | (t.readOnly ? ES_READONLY : 0);
            ex |= WS_EX_CLIENTEDGE;
            break;
        }
        case Kind::Frame:
            cls = "BUTTON";
            style |= BS_GROUPBOX;
            break;
        case Kind::Picture:
            style |= SS_OWNERDRAW | (c.tooltip().empty() ? 0 : SS_NOTIFY);
            break;
        case Kind::TabStrip:
            cls = WC_TABCONTROLA;
            style |= WS_TABSTOP;
            tabPadding_ = tabPaddingFor(static_cast<const TabStrip&>(c), k.px.width());
            if (tabPadding_ < 0) style |= TCS_FIXEDWIDTH;
            break;
        case Kind::ListView:
            cls = WC_LISTVIEWA;
            style |= WS_TABSTOP | LVS_ICON | LVS_SINGLESEL | LVS_AUTOARRANGE | LVS_SHAREIMAGELISTS |
                     LVS_SHOWSELALWAYS;
            ex |= WS_EX_CLIENTEDGE;
            break;
    }
    // Groups for the arrow keys: an option array is one, every other
    // control one of its own.
    if (!(c.kind() == Kind::Option && c.index() > 0)) style |= WS_GROUP;
    if (geometry::shownNow(c)) style |= WS_VISIBLE;
    if (!geometry::enabledNow(c)) style |= WS_DISABLED;

    k.h = CreateWindowExA(ex, cls, text.c_str(), style, k.px.left, k.px.top, k.px.width(), height, hwnd_,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(k.id)), tk_.instance(), nullptr);
    if (!k.h) return;
    HFONT font = c.kind() == Kind::Label ? labelFont(static_cast<const Label&>(c)) : nullptr;
    SendMessageA(k.h, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font : tk_.font()), FALSE);

    if (c.kind() == Kind::Option || c.kind() == Kind::Frame)
        setWindowSubclass(k.h, controlProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

// A heading label's own font: the dialog font with the label's face, size
// and weight; null when the label keeps the dialog font.
HFONT FormWindow::labelFont(const Label& l) {
    if (l.fontName.empty() && l.fontPoints <= 0 && !l.bold) return nullptr;
    LOGFONTA lf;
    if (GetObjectA(tk_.font(), sizeof lf, &lf) != sizeof lf) return nullptr;
    if (!l.fontName.empty()) {
        std::memset(lf.lfFaceName, 0, sizeof lf.lfFaceName);
        std::strncpy(lf.lfFaceName, l.fontName.c_str(), LF_FACESIZE - 1);
    }
    if (l.fontPoints > 0) {
        lf.lfHeight = -static_cast<LONG>(l.fontPoints * tk_.dpi() / 72 + 0.5);
        lf.lfWidth = 0;
    }
    lf.lfWeight = l.bold ? FW_BOLD : FW_NORMAL;
    HFONT f = CreateFontIndirectA(&lf);
    if (f) fonts_.push_back(f);
    return f;
}

void FormWindow::initControl(std::size_t i) {
    Ctl& k = ctls_[i];
    if (!k.h) return;
    Control& c = *k.c;
    switch (c.kind()) {
        case Kind::Slider: {
            const auto& s = static_cast<const Slider&>(c);
            SendMessageA(k.h, TBM_SETRANGEMIN, FALSE, s.min());
            SendMessageA(k.h, TBM_SETRANGEMAX, FALSE, s.max());
            SendMessageA(k.h, TBM_SETLINESIZE, 0, std::max(1, s.smallChange));
            SendMessageA(k.h, TBM_SETPAGESIZE, 0, std::max(1, s.largeChange));
            // Ticks at every page, but never so many they run together.
            int freq = std::max(1, s.largeChange);
            const int span = s.max() - s.min();
            if (span / freq > 40) freq = (span + 19) / 20;
            SendMessageA(k.h, TBM_SETTICFREQ, freq, 0);
            break;
        }
        case Kind::TabStrip: {
            const auto& t = static_cast<const TabStrip&>(c);
            if (tabPadding_ >= 0) {
                // As wide as the captions, no wider: a minimum width would
                // spoil the sum worked out above.
                SendMessageA(k.h, TCM_SETMINTABWIDTH, 0, 0);
                if (tabPadding_ > 0)
                    SendMessageA(k.h, TCM_SETPADDING, 0, MAKELPARAM(tabPadding_, MulDiv(3, tk_.dpi(), 96)));
            }
            for (std::size_t n = 0; n < t.tabs().size(); ++n) {
                std::vector<char> caption(t.tabs()[n].begin(), t.tabs()[n].end());
                caption.push_back('\0');
                TCITEMA item;
                std::memset(&item, 0, sizeof item);
                item.mask = TCIF_TEXT;
                item.pszText = caption.data();
                SendMessageA(k.h, TCM_INSERTITEMA, n, reinterpret_cast<LPARAM>(&item));
            }
            // The control's own sums may differ from the estimate: if the
            // last tab still runs off the strip, fall back to equal tabs.
            RECT last = {0, 0, 0, 0};
            if (tabPadding_ >= 0 && !t.tabs().empty() &&
                SendMessageA(k.h, TCM_GETITEMRECT, t.tabs().size() - 1, reinterpret_cast<LPARAM>(&last)) &&
                last.right > k.px.width() - 4) {
                tabPadding_ = -1;
                SetWindowLongA(k.h, GWL_STYLE, GetWindowLongA(k.h, GWL_STYLE) | TCS_FIXEDWIDTH);
            }
            if (tabPadding_ < 0 && !t.tabs().empty()) {
                // Equal tabs filling the strip; the selected one stands out
                // 2 pixels each side.
                const int width = (k.px.width() - 6) / static_cast<int>(t.tabs().size());
                const LRESULT size = SendMessageA(k.h, TCM_SETITEMSIZE, 0, MAKELPARAM(std::max(width, 8), 0));
                SendMessageA(k.h, TCM_SETITEMSIZE, 0, MAKELPARAM(std::max(width, 8), HIWORD(size)));
            }
            break;
        }
        case Kind::ListView: {
            const auto& lv = static_cast<const ListView&>(c);
            const struct {
                const std::vector<int>& images;
                int size, which;
            } lists[] = {{lv.imageList, 32, LVSIL_NORMAL},
                         {lv.smallImageList, GetSystemMetrics(SM_CXSMICON), LVSIL_SMALL}};
            for (const auto& l : lists) {
                HIMAGELIST il = l.images.empty() ? nullptr : makeImageList(l.images, l.size);
                if (!il) continue;
                imageLists_.push_back(il);
                SendMessageA(k.h, LVM_SETIMAGELIST, l.which, reinterpret_cast<LPARAM>(il));
            }
            break;
        }
        default:
            break;
    }
    pushList(i);
    pushValue(i);
}

// The layout wants every tab in one row. Tabs as wide as their captions
// when they fit, closing up their padding if need be (the padding to set,
// 0 for the usual); else -1: equal tabs across the strip.
int FormWindow::tabPaddingFor(const TabStrip& t, int width) const {
    if (t.tabs().empty()) return 0;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, tk_.font());
    std::vector<int> text;
    for (const std::string& s : t.tabs()) {
        SIZE sz = {0, 0};
        GetTextExtentPoint32A(dc, s.c_str(), static_cast<int>(s.size()), &sz);
        text.push_back(sz.cx + 2);
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    const int usual = MulDiv(6, tk_.dpi(), 96);
    const int pad = geometry::tabPadding(text, width - 8, usual, std::max(1, MulDiv(2, tk_.dpi(), 96)));
    return pad == usual ? 0 : pad;
}

// Frames and the tab strip go beneath what lies on them, so that with
// WS_CLIPSIBLINGS each control paints over its container and never under
// it. The reading order of everything else stays the Tab order.
void FormWindow::arrangeZOrder() {
    std::vector<std::pair<int, std::size_t>> containers;
    for (std::size_t i = 0; i < ctls_.size(); ++i) {
        const Control& c = *ctls_[i].c;
        if (!ctls_[i].h) continue;
        if (c.kind() == Kind::Frame) {
            int depth = 1;
            for (const Control* p = c.container(); p && depth < 32; p = p->container()) ++depth;
            containers.push_back({depth, i});
        } else if (c.kind() == Kind::TabStrip) {
            containers.push_back({0, i});
        }
    }
    // Innermost first: each move to the bottom goes beneath the ones before.
    std::stable_sort(containers.begin(), containers.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& e : containers)
        SetWindowPos(ctls_[e.second].h, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool FormWindow::wantsTips() const {
    for (const Ctl& k : ctls_)
        if (!k.c->tooltip().empty()) return true;
    return false;
}

void FormWindow::addTips(const std::vector<std::size_t>& which) {
    std::vector<std::size_t> frames;
    for (std::size_t i : which) {
        Ctl& k = ctls_[i];
        if (!k.h || k.c->tooltip().empty()) continue;
        std::vector<char> text(k.c->tooltip().begin(), k.c->tooltip().end());
        text.push_back('\0');
        TOOLINFOA ti;
        initToolInfo(ti, hwnd_);
        ti.lpszText = text.data();
        if (k.c->kind() == Kind::Frame) {
            // A group box lets the mouse through: its tool is its area on
            // the form, added last so the controls inside it come first.
            frames.push_back(i);
            continue;
        }
        ti.uFlags = TTF_SUBCLASS | TTF_IDISHWND;
        ti.uId = reinterpret_cast<UINT_PTR>(k.h);
        SendMessageA(tip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
        // A disabled control gets no mouse messages; the form does. A second
        // tool on the form covers it while it is disabled.
        ti.uFlags = TTF_SUBCLASS;
        ti.uId = kTipRectBase + i;
        SetRectEmpty(&ti.rect);
        if (SendMessageA(tip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti))) {
            k.hasTipRect = true;
            setDisabledTip(i, IsWindowVisible(k.h) && !IsWindowEnabled(k.h));
        }
    }
    for (std::size_t i : frames) {
        Ctl& k = ctls_[i];
        std::vector<char> text(k.c->tooltip().begin(), k.c->tooltip().end());
        text.push_back('\0');
        TOOLINFOA ti;
        initToolInfo(ti, hwnd_);
        ti.lpszText = text.data();
        ti.uFlags = TTF_SUBCLASS;
        ti.uId = kTipRectBase + i;
        SetRectEmpty(&ti.rect);
        if (SendMessageA(tip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti))) {
            k.hasTipRect = true;
            setDisabledTip(i, IsWindowVisible(k.h) != FALSE);
        }
    }
}

void FormWindow::setDisabledTip(std::size_t i, bool on) {
    Ctl& k = ctls_[i];
    if (!tip_ || !k.hasTipRect) return;
    TOOLINFOA ti;
    initToolInfo(ti, hwnd_);
    ti.uId = kTipRectBase + i;
    if (on) {
        ti.rect = {k.px.left, k.px.top, k.px.right, k.px.bottom};
    } else {
        SetRectEmpty(&ti.rect);
    }
    SendMessageA(tip_, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&ti));
}

// Under visual styles a tab page is not plain button face: keep a picture of
// the page so what lies on it can paint the same background.
void FormWindow::renderPage() {
    freePage();
    if (tabIndex_ < 0 || !ctls_[tabIndex_].h || !appThemed()) return;
    const Ctl& t = ctls_[tabIndex_];
    const int w = t.px.width(), h = t.px.height();
    if (w <= 0 || h <= 0) return;
    HTHEME theme = windowTheme(t.h);
    if (!theme) return;
    // The themed page body changes only from top to bottom, so a narrow
    // strip, tiled by the brush, stands for all of it.
    const int strip = w > 64 ? 16 : w;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    pageBitmap_ = CreateCompatibleBitmap(screen, strip, h);
    ReleaseDC(nullptr, screen);
    if (!mem || !pageBitmap_) {
        if (mem) DeleteDC(mem);
        freePage();
        return;
    }
    HGDIOBJ old = SelectObject(mem, pageBitmap_);
    RECT all = {0, 0, strip, h};
    FillRect(mem, &all, GetSysColorBrush(COLOR_BTNFACE));
    // The page as the tab strip draws it: the theme's pane from just below
    // its rows of tabs. Asking the strip to print itself would draw every
    // tab as well, at a third of the cost of its whole paint.
    RECT item = {};
    SendMessageA(t.h, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    const int rows = static_cast<int>(SendMessageA(t.h, TCM_GETROWCOUNT, 0, 0));
    const int left = strip < w ? -(w / 2) : 0;
    RECT pane = {left, rows * (item.bottom - item.top) + 2, left + w, h};
    drawThemeBackground(theme, mem, TABP_PANE, 0, &pane, nullptr);
    SelectObject(mem, old);
    DeleteDC(mem);
    pageBrush_ = CreatePatternBrush(pageBitmap_);
}

void FormWindow::freePage() {
    if (pageBrush_) DeleteObject(pageBrush_);
    if (pageBitmap_) DeleteObject(pageBitmap_);
    pageBrush_ = nullptr;
    pageBitmap_ = nullptr;
}

void FormWindow::teardown() {
    if (dead_) return;
    dead_ = true;
    form_ = nullptr;
    if (hwnd_) {
        for (const Ctl& k : ctls_)
            if (k.h) RemovePropA(k.h, kNameProperty);
        RemovePropA(hwnd_, kNameProperty);
        RemovePropA(hwnd_, kBuiltProperty);
        // Takes the controls and the tooltip window with it.
        DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
    tip_ = nullptr;
    for (const Ctl& k : ctls_)
        if (k.atom) GlobalDeleteAtom(k.atom);
    if (formAtom_) GlobalDeleteAtom(formAtom_);
    formAtom_ = 0;
    for (HIMAGELIST il : imageLists_) ImageList_Destroy(il);
    imageLists_.clear();
    freePage();
    for (HFONT f : fonts_) DeleteObject(f);
    fonts_.clear();
    ctls_.clear();
}

// ------------------------------------------------------- model to windows

void FormWindow::update(Control& c, Aspect what) {
    if (dead_ || !hwnd_) return;
    int found = -1;
    for (std::size_t i = 0; i < ctls_.size(); ++i)
        if (ctls_[i].c == &c) found = static_cast<int>(i);
    if (found < 0 || !ctls_[found].h) return;
    const std::size_t i = static_cast<std::size_t>(found);
    Pushing guard(pushing_);
    switch (what) {
        case Aspect::Caption:
            if (takesCaption(c.kind())) setTextIfDifferent(ctls_[i].h, c.caption());
            break;
        case Aspect::Text:
            pushText(i);
            break;
        case Aspect::Value:
            pushValue(i);
            break;
        case Aspect::List:
            pushList(i);
            pushValue(i);
            break;
        case Aspect::Image:
            InvalidateRect(ctls_[i].h, nullptr, FALSE);
            break;
        case Aspect::Enabled:
        case Aspect::Visible:
            if (c.kind() == Kind::Frame || c.kind() == Kind::TabStrip) {
                refreshAll();
                if (static_cast<int>(i) == tabIndex_ && pageBitmap_) {
                    // A disabled strip may draw its page differently.
                    renderPage();
                    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
                }
            } else {
                refresh(i);
                fixFocus();
            }
            break;
    }
}

void FormWindow::pushText(std::size_t i) {
    if (ctls_[i].c->kind() == Kind::TextBox) setTextIfDifferent(ctls_[i].h, ctls_[i].c->caption());
}

void FormWindow::pushValue(std::size_t i) {
    const Ctl& k = ctls_[i];
    Control& c = *k.c;
    switch (c.kind()) {
        case Kind::CheckBox: {
            const int v = static_cast<const CheckBox&>(c).value();
            SendMessageA(k.h, BM_SETCHECK, v == 2 ? BST_INDETERMINATE : v ? BST_CHECKED : BST_UNCHECKED, 0);
            break;
        }
        case Kind::Option: {
            const auto& o = static_cast<const OptionButton&>(c);
            SendMessageA(k.h, BM_SETCHECK, o.value() ? BST_CHECKED : BST_UNCHECKED, 0);
            updateOptionTabStops(o.array());
            break;
        }
        case Kind::ComboList:
            SendMessageA(k.h, CB_SETCURSEL, static_cast<WPARAM>(static_cast<const ComboList&>(c).listIndex()), 0);
            break;
        case Kind::HScroll: {
            const auto& b = static_cast<const HScrollBar&>(c);
            SCROLLINFO si;
            std::memset(&si, 0, sizeof si);
            si.cbSize = sizeof si;
            si.fMask = SIF_RANGE | SIF_POS | SIF_PAGE;
            si.nMin = b.min();
            si.nMax = b.max();
            si.nPage = 0;
            si.nPos = b.value();
            SetScrollInfo(k.h, SB_CTL, &si, TRUE);
            break;
        }
        case Kind::Slider:
            SendMessageA(k.h, TBM_SETPOS, TRUE, static_cast<const Slider&>(c).value());
            break;
        case Kind::TabStrip:
            if (static_cast<int>(i) == tabIndex_) {
                buildPage(static_cast<const TabStrip&>(c).currentTab());
                SendMessageA(k.h, TCM_SETCURSEL, static_cast<WPARAM>(static_cast<const TabStrip&>(c).currentTab()),
                             0);
                // The focus on the page going away moves to the tabs, as in a
                // property sheet, before Windows hands it to the form.
                const int f = indexOf(GetFocus());
                if (f >= 0 && ctls_[f].c->tabPage() >= 0 && !geometry::shownNow(*ctls_[f].c) &&
                    IsWindowVisible(k.h) && IsWindowEnabled(k.h))
                    SetFocus(k.h);
                refreshAll();
            }
            break;
        case Kind::ListView: {
            const int n = static_cast<const ListView&>(c).selectedItem();
            if (n == selectedListItem(k.h)) break;
            LVITEMA item;
            std::memset(&item, 0, sizeof item);
            item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
            item.state = 0;
            SendMessageA(k.h, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
            if (n > 0) {
                item.state = LVIS_SELECTED | LVIS_FOCUSED;
                SendMessageA(k.h, LVM_SETITEMSTATE, n - 1, reinterpret_cast<LPARAM>(&item));
                SendMessageA(k.h, LVM_ENSUREVISIBLE, n - 1, FALSE);
            }
            break;
        }
        default:
            break;
    }
}

void FormWindow::pushList(std::size_t i) {
    const Ctl& k = ctls_[i];
    Control& c = *k.c;
    if (c.kind() == Kind::ComboList) {
        const auto& cb = static_cast<const ComboList&>(c);
        SendMessageA(k.h, CB_RESETCONTENT, 0, 0);
        for (const std::string& s : cb.items()) SendMessageA(k.h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
        fitComboDrop(i);
    } else if (c.kind() == Kind::ListView) {
        const auto& lv = static_cast<const ListView&>(c);
        SendMessageA(k.h, LVM_DELETEALLITEMS, 0, 0);
        // Spacing first: with the list empty there is no scroll bar to
        // narrow it while the entries are placed.
        fitIconSpacing(i, static_cast<int>(lv.items().size()));
        int n = 0;
        for (const ListView::Item& it : lv.items()) {
            std::vector<char> text(it.text.begin(), it.text.end());
            text.push_back('\0');
            LVITEMA item;
            std::memset(&item, 0, sizeof item);
            item.mask = LVIF_TEXT | LVIF_IMAGE;
            item.iItem = n++;
            item.pszText = text.data();
            item.iImage = it.image;
            SendMessageA(k.h, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        }
    }
}

// Spreads the icons evenly over the list and closes the rows up so that
// every entry shows without a scroll bar, as long as an icon with two lines
// of text under it still fits its cell.
void FormWindow::fitIconSpacing(std::size_t i, int n) {
    const Ctl& k = ctls_[i];
    if (n <= 0) return;
    const int edge = 2 * GetSystemMetrics(SM_CXEDGE);
    const int w = k.px.width() - edge, h = k.px.height() - edge;
    const DWORD spacing = static_cast<DWORD>(SendMessageA(k.h, LVM_GETITEMSPACING, FALSE, 0));
    geometry::Spacing usual;
    usual.cx = LOWORD(spacing);
    usual.cy = HIWORD(spacing);
    if (w <= 0 || h <= 0 || usual.cy <= 0) return;
    HDC dc = GetDC(k.h);
    HGDIOBJ old = SelectObject(dc, tk_.font());
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(k.h, dc);
    geometry::Spacing least;
    least.cx = std::max(32, 9 * static_cast<int>(tm.tmAveCharWidth));
    least.cy = 32 + 2 * static_cast<int>(tm.tmHeight) + MulDiv(10, tk_.dpi(), 96);
    const geometry::Spacing sp = geometry::iconSpacing(n, w, h, usual, least);
    if (sp.cx > 0) SendMessageA(k.h, LVM_SETICONSPACING, 0, MAKELPARAM(sp.cx, sp.cy));
}

// A drop-down list's window height is its field plus the list it drops.
void FormWindow::fitComboDrop(std::size_t i) {
    const Ctl& k = ctls_[i];
    const int items = std::clamp(static_cast<int>(SendMessageA(k.h, CB_GETCOUNT, 0, 0)), 1, 12);
    int itemHeight = static_cast<int>(SendMessageA(k.h, CB_GETITEMHEIGHT, 0, 0));
    if (itemHeight <= 0) itemHeight = MulDiv(14, tk_.dpi(), 96);
    const int height = k.px.height() + items * itemHeight + 4;
    SetWindowPos(k.h, nullptr, 0, 0, k.px.width(), height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::updateOptionTabStops(const OptionArray& arr) {
    const int stop = geometry::optionTabStop(arr);
    for (const Ctl& k : ctls_) {
        if (!k.h || k.c->kind() != Kind::Option) continue;
        const auto& o = static_cast<const OptionButton&>(*k.c);
        if (&o.array() != &arr) continue;
        LONG style = GetWindowLongA(k.h, GWL_STYLE);
        const LONG want = o.index() == stop ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
        if (want != style) SetWindowLongA(k.h, GWL_STYLE, want);
    }
}

void FormWindow::refresh(std::size_t i) {
    const Ctl& k = ctls_[i];
    if (!k.h) return;
    const bool shown = geometry::shownNow(*k.c);
    const bool enabled = geometry::enabledNow(*k.c);
    const bool isShown = (GetWindowLongA(k.h, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != isShown) ShowWindow(k.h, shown ? SW_SHOWNA : SW_HIDE);
    EnableWindow(k.h, enabled);
    if (k.c->kind() == Kind::Frame) setDisabledTip(i, shown);
    else setDisabledTip(i, shown && !enabled);
}

void FormWindow::refreshAll() {
    for (std::size_t i = 0; i < ctls_.size(); ++i) refresh(i);
    fixFocus();
}

// A hidden or disabled control keeps the focus in Windows, and the keyboard
// would go nowhere: hand it on.
void FormWindow::fixFocus() {
    HWND f = GetFocus();
    if (!f || !IsChild(hwnd_, f)) return;
    if (IsWindowVisible(f) && IsWindowEnabled(f)) return;
    auto usable = [f](HWND h) { return h && h != f && IsWindowVisible(h) && IsWindowEnabled(h); };
    HWND next = GetNextDlgTabItem(hwnd_, f, FALSE);
    if (!usable(next)) next = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
    SetFocus(usable(next) ? next : hwnd_);
}

void FormWindow::sync(std::size_t i) {
    if (dead_ || i >= ctls_.size() || !ctls_[i].h) return;
    Pushing guard(pushing_);
    pushValue(i);
    pushText(i);
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
        PixelRect p;
        p.left = r.left;
        p.top = r.top;
        p.right = r.right;
        p.bottom = r.bottom;
        return p;
    };
    const geometry::Point at = geometry::centreOver(px(ref), w, h, px(work));
    const int x = at.x, y = at.y;
    SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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
        return DefWindowProcA(h, msg, wp, lp);
    }
}

LRESULT CALLBACK FormWindow::controlProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref) {
    auto* fw = reinterpret_cast<FormWindow*>(ref);
    switch (msg) {
        case WM_SETFOCUS: {
            HWND before = g_focusing;
            g_focusing = h;
            LRESULT r = defSubclassProc(h, msg, wp, lp);
            g_focusing = before;
            if (g_arrowKey && fw && !fw->dead_) fw->onArrowFocus(h, reinterpret_cast<HWND>(wp));
            return r;
        }
        case WM_ERASEBKGND: {
            // A group box leaves its inside unpainted; paint what lies under it.
            const int i = fw && !fw->dead_ ? fw->indexOf(h) : -1;
            if (i >= 0 && fw->ctls_[i].c->kind() == Kind::Frame) {
                RECT rc;
                GetClientRect(h, &rc);
                fw->fillUnder(reinterpret_cast<HDC>(wp), static_cast<std::size_t>(i), rc.right, rc.bottom);
                return 1;
            }
            break;
        }
        case WM_NCDESTROY:
            removeWindowSubclass(h, controlProc, id);
            break;
    }
    return defSubclassProc(h, msg, wp, lp);
}

LRESULT FormWindow::proc(UINT msg, WPARAM wp, LPARAM lp) {
    if (dead_) return DefWindowProcA(hwnd_, msg, wp, lp);
    switch (msg) {
        case WM_COMMAND:
            return onCommand(wp, lp);
        case WM_NOTIFY:
            return onNotify(lp);
        case WM_HSCROLL:
            onHScroll(wp, lp);
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            LRESULT brush = 0;
            if (ctlColor(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp), brush)) return brush;
            break;
        }
        case WM_DRAWITEM:
            if (wp) {
                drawPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
                return TRUE;
            }
            break;
        case WM_ERASEBKGND:
            paintBackground(reinterpret_cast<HDC>(wp));
            return 1;
        case WM_PRINTCLIENT:
            paintBackground(reinterpret_cast<HDC>(wp));
            return 0;
        case WM_CLOSE:
            // The title-bar close box; a disabled window is waiting for its
            // dialog and cannot be closed.
            if (form_ && IsWindowEnabled(hwnd_)) toModel([this] { form_->closeBox(); });
            return 0;
        case WM_ACTIVATE:
            onActivate(wp);
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
            restoreFocus();
            return 0;
        case WM_NEXTDLGCTL: {
            HWND target = lp ? reinterpret_cast<HWND>(wp) : GetNextDlgTabItem(hwnd_, GetFocus(), wp != 0);
            if (target) {
                SetFocus(target);
                if (SendMessageA(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageA(target, EM_SETSEL, 0, -1);
            }
            return 0;
        }
        case DM_GETDEFID:
            return defaultButtonId();
        case WM_THEMECHANGED:
        case WM_SYSCOLORCHANGE:
            for (const Ctl& k : ctls_)
                if (k.h) SendMessageA(k.h, msg, wp, lp);
            renderPage();
            RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            return 0;
    }
    return DefWindowProcA(hwnd_, msg, wp, lp);
}

LRESULT FormWindow::onCommand(WPARAM wp, LPARAM lp) {
    const int id = LOWORD(wp);
    const int code = HIWORD(wp);
    HWND from = reinterpret_cast<HWND>(lp);
    if (id == IDOK || id == IDCANCEL) {
        onDialogKey(id);
        return 0;
    }
    const int found = indexOfId(id);
    if (found < 0 || ctls_[found].h != from || !from) return 0;
    const std::size_t i = static_cast<std::size_t>(found);
    Control& c = *ctls_[i].c;
    switch (c.kind()) {
        case Kind::Button:
            if (code == BN_CLICKED && reachable(i)) toModel([&c] { static_cast<Button&>(c).click(); });
            else if (code == BN_SETFOCUS) showDefault(static_cast<int>(i));
            else if (code == BN_KILLFOCUS) showDefault(-1);
            break;
        case Kind::CheckBox:
            if (code == BN_CLICKED && reachable(i)) {
                auto& b = static_cast<CheckBox&>(c);
                toModel([&b] { b.setValue(geometry::nextCheckState(b.value())); });
                sync(i);
            }
            break;
        case Kind::Option:
            // The click Windows sends when an option merely gets the focus
            // (by Tab, or the window being activated) selects nothing.
            if (code == BN_CLICKED && g_focusing != from && reachable(i)) {
                auto& o = static_cast<OptionButton&>(c);
                toModel([&o] { o.choose(); });
                sync(i);
            }
            break;
        case Kind::ComboList:
            onComboCommand(i, code);
            break;
        case Kind::TextBox:
            if (code == EN_CHANGE) {
                const std::string text = windowText(from);
                auto& t = static_cast<TextBox&>(c);
                toModel([&t, &text] { t.setText(text); });
            }
            break;
        default:
            break;
    }
    return 0;
}

// Moving through the closed list changes the choice at each step; in the
// opened list only the entry picked as it closes counts, and counts even
// when it is the one shown. A list closed without a pick shows the model's
// choice again. Wine and Windows send SELCHANGE and SELENDOK in different
// orders around CLOSEUP, so the list's own open state decides.
void FormWindow::onComboCommand(std::size_t i, int code) {
    Ctl& k = ctls_[i];
    auto& cb = static_cast<ComboList&>(*k.c);
    switch (code) {
        case CBN_DROPDOWN:
            k.dropped = true;
            k.picked = false;
            break;
        case CBN_SELENDOK:
            if (k.dropped) k.picked = true;
            break;
        case CBN_CLOSEUP: {
            if (!k.dropped) break;
            const bool picked = k.picked;
            k.dropped = k.picked = false;
            const int sel = static_cast<int>(SendMessageA(k.h, CB_GETCURSEL, 0, 0));
            if (picked && sel >= 0 && reachable(i)) toModel([&cb, sel] { cb.pick(sel); });
            sync(i);
            break;
        }
        case CBN_SELCHANGE:
            if (!k.dropped && reachable(i)) {
                const int sel = static_cast<int>(SendMessageA(k.h, CB_GETCURSEL, 0, 0));
                toModel([&cb, sel] { cb.setListIndex(sel); });
                sync(i);
            }
            break;
    }
}

void FormWindow::onArrowFocus(HWND now, HWND before) {
    auto keep = shared_from_this();
    const int i = indexOf(now), j = indexOf(before);
    if (i < 0 || j < 0) return;
    if (ctls_[i].c->kind() != Kind::Option || ctls_[j].c->kind() != Kind::Option) return;
    auto& o = static_cast<OptionButton&>(*ctls_[i].c);
    if (&o.array() != &static_cast<OptionButton&>(*ctls_[j].c).array() || !reachable(i)) return;
    toModel([&o] { o.select(); });
    sync(static_cast<std::size_t>(i));
}

LRESULT FormWindow::onNotify(LPARAM lp) {
    const auto* nh = reinterpret_cast<const NMHDR*>(lp);
    const int found = indexOf(nh->hwndFrom);
    if (found < 0) return 0;
    const std::size_t i = static_cast<std::size_t>(found);
    Control& c = *ctls_[i].c;
    HWND h = ctls_[i].h;
    if (c.kind() == Kind::TabStrip && nh->code == TCN_SELCHANGE) {
        const int sel = static_cast<int>(SendMessageA(h, TCM_GETCURSEL, 0, 0));
        auto& t = static_cast<TabStrip&>(c);
        toModel([&t, sel] { t.setCurrentTab(sel); });
        sync(i);
    } else if (c.kind() == Kind::ListView) {
        auto& lv = static_cast<ListView&>(c);
        if (nh->code == LVN_ITEMCHANGED) {
            const auto* nm = reinterpret_cast<const NMLISTVIEW*>(lp);
            if ((nm->uChanged & LVIF_STATE) && ((nm->uNewState ^ nm->uOldState) & LVIS_SELECTED)) {
                const int n = selectedListItem(h);
                toModel([&lv, n] { lv.setSelectedItem(n); });
            }
        } else if ((nh->code == static_cast<UINT>(NM_DBLCLK) || nh->code == static_cast<UINT>(NM_RETURN)) &&
                   reachable(i)) {
            // A double click, or Enter on the list: the item activation
            // Windows also sends for both is left alone so it runs once.
            const int n = selectedListItem(h);
            toModel([&lv, n] {
                lv.setSelectedItem(n);
                lv.dblClick();
            });
        }
    }
    return 0;
}

void FormWindow::onHScroll(WPARAM wp, LPARAM lp) {
    HWND from = reinterpret_cast<HWND>(lp);
    const int found = indexOf(from);
    if (found < 0) return;
    const std::size_t i = static_cast<std::size_t>(found);
    Control& c = *ctls_[i].c;
    const int code = LOWORD(wp);
    if (c.kind() == Kind::HScroll) {
        auto& bar = static_cast<HScrollBar&>(c);
        SCROLLINFO si;
        std::memset(&si, 0, sizeof si);
        si.cbSize = sizeof si;
        si.fMask = SIF_ALL;
        GetScrollInfo(from, SB_CTL, &si);
        using geometry::ScrollRequest;
        ScrollRequest req;
        switch (code) {
            case SB_THUMBTRACK:
                // The thumb follows the mouse; the value waits for the release.
                SetScrollPos(from, SB_CTL, si.nTrackPos, TRUE);
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
        if (!reachable(i)) {
            sync(i);
            return;
        }
        const int target = geometry::scrollTarget(req, bar, si.nTrackPos);
        toModel([&bar, target] { bar.setValue(target); });
        sync(i);
    } else if (c.kind() == Kind::Slider) {
        // The trackbar moves itself; the value is taken once, when the move
        // ends (a key press gives a step and then TB_ENDTRACK).
        if (code != TB_ENDTRACK && code != TB_THUMBPOSITION) return;
        auto& s = static_cast<Slider&>(c);
        const int pos = static_cast<int>(SendMessageA(from, TBM_GETPOS, 0, 0));
        if (reachable(i)) toModel([&s, pos] { s.setValue(pos); });
        sync(i);
    }
}

void FormWindow::onDialogKey(int id) {
    if (id != IDCANCEL) return;
    for (std::size_t i = 0; i < ctls_.size(); ++i) {
        Control& c = *ctls_[i].c;
        if (c.kind() == Kind::Button && static_cast<Button&>(c).isCancel && reachable(i)) {
            toModel([&c] { static_cast<Button&>(c).click(); });
            return;
        }
    }
}

// The thick border Windows gives the button Enter presses: the focused push
// button (`focused`), else the form's default button.
void FormWindow::showDefault(int focused) {
    int target = focused;
    if (target < 0) {
        for (std::size_t i = 0; i < ctls_.size() && target < 0; ++i) {
            const Control& c = *ctls_[i].c;
            if (c.kind() == Kind::Button && static_cast<const Button&>(c).isDefault) target = static_cast<int>(i);
        }
    }
    for (std::size_t i = 0; i < ctls_.size(); ++i) {
        if (!ctls_[i].h || ctls_[i].c->kind() != Kind::Button) continue;
        const LONG style = GetWindowLongA(ctls_[i].h, GWL_STYLE);
        const LONG type = static_cast<int>(i) == target ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        if ((style & BS_TYPEMASK) != type)
            SendMessageA(ctls_[i].h, BM_SETSTYLE, (style & 0xFFFF & ~BS_TYPEMASK) | type, TRUE);
    }
}

// Enter presses the focused push button, else the form's default button.
LRESULT FormWindow::defaultButtonId() {
    const int f = indexOf(GetFocus());
    if (f >= 0 && ctls_[f].c->kind() == Kind::Button) return MAKELRESULT(ctls_[f].id, DC_HASDEFID);
    for (std::size_t i = 0; i < ctls_.size(); ++i) {
        const Control& c = *ctls_[i].c;
        if (c.kind() == Kind::Button && static_cast<const Button&>(c).isDefault && reachable(i))
            return MAKELRESULT(ctls_[i].id, DC_HASDEFID);
    }
    return 0;
}

void FormWindow::onActivate(WPARAM wp) {
    if (LOWORD(wp) == WA_INACTIVE) {
        HWND f = GetFocus();
        if (f && IsChild(hwnd_, f)) lastFocus_ = f;
    } else if (!HIWORD(wp)) {
        restoreFocus();
    }
}

void FormWindow::restoreFocus() {
    auto usable = [this](HWND h) {
        return h && IsWindow(h) && IsChild(hwnd_, h) && IsWindowVisible(h) && IsWindowEnabled(h);
    };
    HWND t = lastFocus_;
    if (!usable(t)) {
        t = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
        // A dialog opening on some other push button would let a stray
        // Enter press it (on the reset dialog: reset everything); open on
        // the default button instead.
        HWND defButton = nullptr;
        for (std::size_t i = 0; i < ctls_.size() && !defButton; ++i) {
            const Control& c = *ctls_[i].c;
            if (c.kind() == Kind::Button && static_cast<const Button&>(c).isDefault) defButton = ctls_[i].h;
        }
        if (usable(defButton) && t != defButton && (SendMessageA(t, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON))
            t = defButton;
    }
    if (usable(t)) SetFocus(t);
    else if (GetFocus() != hwnd_) SetFocus(hwnd_);
}

// ------------------------------------------------------------- keyboard

bool FormWindow::preTranslate(MSG& msg) {
    if (dead_ || !hwnd_ || !(msg.hwnd == hwnd_ || IsChild(hwnd_, msg.hwnd))) return false;
    if (msg.message == WM_KEYDOWN) {
        const bool ctrl = GetKeyState(VK_CONTROL) < 0;
        if (ctrl && (msg.wParam == VK_TAB || msg.wParam == VK_NEXT || msg.wParam == VK_PRIOR)) {
            const bool back = msg.wParam == VK_PRIOR || (msg.wParam == VK_TAB && GetKeyState(VK_SHIFT) < 0);
            return stepTab(back);
        }
        if (msg.wParam == VK_RETURN) {
            // The list view starts its entry on Enter; the dialog manager
            // would press the default button instead.
            const int f = indexOf(GetFocus());
            if (f >= 0 && ctls_[f].c->kind() == Kind::ListView) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
                return true;
            }
        }
        return false;
    }
    if (msg.message == WM_MOUSEWHEEL) {
        // Not every trackbar ends a wheel turn with TB_ENDTRACK, and a scroll
        // bar ignores the wheel: one notch is one small step, taken here.
        const int f = indexOf(GetFocus());
        if (f < 0) return false;
        const Kind kind = ctls_[f].c->kind();
        if ((kind != Kind::Slider && kind != Kind::HScroll) || !reachable(static_cast<std::size_t>(f))) return false;
        auto& r = static_cast<RangeControl&>(*ctls_[f].c);
        const int notches = GET_WHEEL_DELTA_WPARAM(msg.wParam) / WHEEL_DELTA;
        if (notches != 0) {
            const long long step = static_cast<long long>(notches) * std::max(1, r.smallChange);
            const int target = static_cast<int>(std::clamp<long long>(r.value() - step, r.min(), r.max()));
            auto keep = shared_from_this();
            toModel([&r, target] { r.setValue(target); });
            sync(static_cast<std::size_t>(f));
        }
        return true;
    }
    if (msg.message == WM_SYSCHAR || msg.message == WM_CHAR) {
        if (msg.message == WM_CHAR) {
            HWND f = GetFocus();
            if (f && (SendMessageA(f, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) &
                      (DLGC_WANTCHARS | DLGC_WANTALLKEYS | DLGC_HASSETSEL)))
                return false;
        }
        return mnemonic(static_cast<char>(msg.wParam));
    }
    return false;
}

bool FormWindow::dialogMessage(MSG& msg) {
    if (dead_ || !hwnd_) return false;
    auto keep = shared_from_this();
    const bool arrow = msg.message == WM_KEYDOWN && msg.wParam >= VK_LEFT && msg.wParam <= VK_DOWN;
    g_arrowKey = arrow;
    const BOOL taken = IsDialogMessageA(hwnd_, &msg);
    g_arrowKey = false;
    return taken != FALSE;
}

bool FormWindow::stepTab(bool back) {
    if (tabIndex_ < 0 || !reachable(static_cast<std::size_t>(tabIndex_))) return false;
    auto& t = static_cast<TabStrip&>(*ctls_[tabIndex_].c);
    const int n = static_cast<int>(t.tabs().size());
    if (n > 1) {
        const int next = (t.currentTab() + (back ? n - 1 : 1)) % n;
        auto keep = shared_from_this();
        toModel([&t, next] { t.setCurrentTab(next); });
        sync(static_cast<std::size_t>(tabIndex_));
    }
    return true;
}

// Access keys of labels and frames move the focus to what follows them in
// reading order; the layout's stacking puts frames elsewhere, so the dialog
// manager would pick the wrong control. Buttons and boxes it presses itself.
bool FormWindow::mnemonic(char key) {
    const char k = static_cast<char>(std::toupper(static_cast<unsigned char>(key)));
    if (!k) return false;
    for (std::size_t i = 0; i < ctls_.size(); ++i) {
        const Control& c = *ctls_[i].c;
        if (!ctls_[i].h || !takesCaption(c.kind()) || geometry::mnemonicOf(c.caption()) != k) continue;
        if (!IsWindowVisible(ctls_[i].h)) continue;
        if (c.kind() == Kind::Label || c.kind() == Kind::Frame) {
            focusAfter(i);
            return true;
        }
        if (IsWindowEnabled(ctls_[i].h)) return false;
    }
    return false;
}

void FormWindow::focusAfter(std::size_t i) {
    for (std::size_t j = i + 1; j < ctls_.size(); ++j) {
        const Control& c = *ctls_[j].c;
        if (!focusable(c.kind()) || !reachable(j)) continue;
        std::size_t target = j;
        if (c.kind() == Kind::Option) {
            // The option that holds the array's tab stop.
            const auto& arr = static_cast<const OptionButton&>(c).array();
            const int stop = geometry::optionTabStop(arr);
            for (std::size_t m = j; m < ctls_.size(); ++m) {
                const Control& o = *ctls_[m].c;
                if (o.kind() == Kind::Option && &static_cast<const OptionButton&>(o).array() == &arr &&
                    o.index() == stop && reachable(m))
                    target = m;
            }
        }
        SetFocus(ctls_[target].h);
        if (c.kind() == Kind::TextBox) SendMessageA(ctls_[target].h, EM_SETSEL, 0, -1);
        return;
    }
}

// ------------------------------------------------------------- painting

bool FormWindow::ctlColor(HDC dc, HWND child, LRESULT& brush) {
    const int i = indexOf(child);
    if (i < 0 || !pageBrush_ || tabIndex_ < 0) return false;
    const Control& c = *ctls_[i].c;
    if (c.tabPage() < 0 || c.kind() == Kind::TextBox) return false;
    const PixelRect& t = ctls_[tabIndex_].px;
    const PixelRect& p = ctls_[i].px;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    const POINT o = pageOrigin(dc, t.left - p.left, t.top - p.top);
    SetBrushOrgEx(dc, o.x, o.y, nullptr);
    brush = reinterpret_cast<LRESULT>(pageBrush_);
    return true;
}

void FormWindow::paintBackground(HDC dc) {
    RECT rc;
    GetClientRect(hwnd_, &rc);
    FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
    if (!pageBrush_ || tabIndex_ < 0) return;
    const PixelRect& t = ctls_[tabIndex_].px;
    RECT page = {t.left, t.top, t.right, t.bottom};
    fillPage(dc, page, t.left, t.top);
}

// Paints, in a control's own coordinates, what lies under it.
void FormWindow::fillUnder(HDC dc, std::size_t i, int w, int h) {
    RECT rc = {0, 0, w, h};
    if (!pageBrush_ || tabIndex_ < 0 || ctls_[i].c->tabPage() < 0) {
        FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    const PixelRect& t = ctls_[tabIndex_].px;
    const PixelRect& p = ctls_[i].px;
    fillPage(dc, rc, t.left - p.left, t.top - p.top);
}

void FormWindow::fillPage(HDC dc, const RECT& r, int x, int y) {
    const POINT o = pageOrigin(dc, x, y);
    POINT before;
    SetBrushOrgEx(dc, o.x, o.y, &before);
    FillRect(dc, &r, pageBrush_);
    SetBrushOrgEx(dc, before.x, before.y, nullptr);
}

void FormWindow::drawPicture(const DRAWITEMSTRUCT& dis) {
    const int i = indexOf(dis.hwndItem);
    if (i < 0 || ctls_[i].c->kind() != Kind::Picture) return;
    const int w = dis.rcItem.right - dis.rcItem.left, h = dis.rcItem.bottom - dis.rcItem.top;
    if (w <= 0 || h <= 0) return;
    // Drawn off screen and copied at once, so it never flickers.
    HDC mem = CreateCompatibleDC(dis.hDC);
    HBITMAP bmp = CreateCompatibleBitmap(dis.hDC, w, h);
    if (!mem || !bmp) {
        if (mem) DeleteDC(mem);
        if (bmp) DeleteObject(bmp);
        return;
    }
    HGDIOBJ old = SelectObject(mem, bmp);
    fillUnder(mem, static_cast<std::size_t>(i), w, h);
    RECT box = {0, 0, w, h};
    drawImage(mem, static_cast<const Picture&>(*ctls_[i].c).image, box);
    BitBlt(dis.hDC, dis.rcItem.left, dis.rcItem.top, w, h, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
}

}  // namespace ui::win32
