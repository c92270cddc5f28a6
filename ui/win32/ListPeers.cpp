// Drop-down lists, the tab strip and the list view: the controls that hold
// a list of entries and a choice among them.
#include "ui/win32/Peers.h"

#include "ui/win32/Drawings.h"

namespace ui::win32 {

// ------------------------------------------------------------ drop-down list

ControlPeer::Style ComboPeer::style() const {
    return {"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_HASSTRINGS};
}

void ComboPeer::pushList() {
    const ComboBoxWnd box{wnd_.h};
    box.setItems(l_.items());
    // Its window height is its field plus the list it drops.
    const int items = std::clamp(box.count(), 1, 12);
    int itemHeight = box.itemHeight();
    if (itemHeight <= 0) itemHeight = MulDiv(14, host_.dpi(), 96);
    box.resize(px_.width(), px_.height() + items * itemHeight + 4);
}

// Moving through the closed list changes the choice at each step; in the
// opened list only the entry picked as it closes counts, and counts even
// when it is the one shown. A list closed without a pick shows the model's
// choice again. Wine and Windows send SELCHANGE and SELENDOK in different
// orders around CLOSEUP, so the list's own open state decides.
void ComboPeer::command(int code) {
    switch (code) {
        case CBN_DROPDOWN:
            dropped_ = true;
            picked_ = false;
            break;
        case CBN_SELENDOK:
            if (dropped_) picked_ = true;
            break;
        case CBN_CLOSEUP:
            if (!dropped_) break;
            take(picked_);
            break;
        case CBN_SELCHANGE:
            if (!dropped_ && reachable()) take(false);
            break;
    }
}

void ComboPeer::take(bool pick) {
    const bool closing = dropped_;
    dropped_ = picked_ = false;
    const int sel = ComboBoxWnd{wnd_.h}.selection();
    ComboList& l = l_;
    if (!closing) host_.toModel([&l, sel] { l.setListIndex(sel); });
    else if (pick && sel >= 0 && reachable()) host_.toModel([&l, sel] { l.pick(sel); });
    host_.resync(*this);
}

// ------------------------------------------------------------ tab strip

ControlPeer::Style TabPeer::style() const {
    padding_ = paddingFor(px_.width());
    return {WC_TABCONTROLA, WS_TABSTOP | (padding_ < 0 ? static_cast<DWORD>(TCS_FIXEDWIDTH) : 0u)};
}

// The layout wants every tab in one row. Tabs as wide as their captions
// when they fit, closing up their padding if need be (the padding to set,
// 0 for the usual); else -1: equal tabs across the strip.
int TabPeer::paddingFor(int width) const {
    if (t_.tabs().empty()) return 0;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, host_.font());
    std::vector<int> text;
    for (const std::string& s : t_.tabs()) {
        SIZE sz = {0, 0};
        GetTextExtentPoint32A(dc, s.c_str(), static_cast<int>(s.size()), &sz);
        text.push_back(sz.cx + 2);
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    const int dpi = host_.dpi();
    const int usual = MulDiv(6, dpi, 96);
    const int pad = layout::tabPadding(text, width - 8, usual, std::max(1, MulDiv(2, dpi, 96)));
    return pad == usual ? 0 : pad;
}

void TabPeer::init() {
    const TabWnd tabs{wnd_.h};
    const int n = static_cast<int>(t_.tabs().size());
    if (padding_ >= 0) {
        // As wide as the captions, no wider: a minimum width would spoil
        // the sum worked out above.
        tabs.setMinTabWidth(0);
        if (padding_ > 0) tabs.setPadding(padding_, MulDiv(3, host_.dpi(), 96));
    }
    for (int i = 0; i < n; ++i) tabs.insert(i, t_.tabs()[static_cast<std::size_t>(i)]);
    // The control's own sums may differ from the estimate: if the last tab
    // still runs off the strip, fall back to equal tabs.
    RECT last = {0, 0, 0, 0};
    if (padding_ >= 0 && n > 0 && tabs.itemRect(n - 1, last) && last.right > px_.width() - 4) {
        padding_ = -1;
        tabs.setStyleBits(TCS_FIXEDWIDTH, true);
    }
    if (padding_ < 0 && n > 0) {
        // Equal tabs filling the strip; the selected one stands out 2
        // pixels each side.
        const int width = std::max((px_.width() - 6) / n, 8);
        const LRESULT size = tabs.setItemSize(width, 0);
        tabs.setItemSize(width, HIWORD(size));
    }
    ControlPeer::init();
}

void TabPeer::pushValue() {
    if (!holdsPages()) return;
    const int tab = t_.currentTab();
    host_.buildPage(tab);
    TabWnd{wnd_.h}.select(tab);
    // The focus on the page going away moves to the tabs, as in a property
    // sheet, before Windows hands it to the form.
    const ControlPeer* f = host_.peerAt(GetFocus());
    if (f && f->control().tabPage() >= 0 && !f->control().shownNow() && wnd_.visible() && wnd_.enabled())
        SetFocus(wnd_.h);
    host_.refreshAll();
}

void TabPeer::show(Aspect what) {
    ControlPeer::show(what);
    // A disabled strip may draw its page differently.
    if ((what == Aspect::Enabled || what == Aspect::Visible) && holdsPages()) host_.pageRestyled();
}

void TabPeer::turnTo(int tab) {
    TabStrip& t = t_;
    host_.toModel([&t, tab] { t.setCurrentTab(tab); });
    host_.resync(*this);
}

void TabPeer::notify(const NMHDR& nh) {
    if (nh.code == TCN_SELCHANGE) turnTo(TabWnd{wnd_.h}.selection());
}

bool TabPeer::stepPage(bool back) {
    if (!holdsPages() || !reachable()) return false;
    const int n = static_cast<int>(t_.tabs().size());
    if (n > 1) turnTo((t_.currentTab() + (back ? n - 1 : 1)) % n);
    return true;
}

// ------------------------------------------------------------ list view

ControlPeer::Style ListViewPeer::style() const {
    return {WC_LISTVIEWA,
            WS_TABSTOP | LVS_ICON | LVS_SINGLESEL | LVS_AUTOARRANGE | LVS_SHAREIMAGELISTS | LVS_SHOWSELALWAYS,
            WS_EX_CLIENTEDGE};
}

ListViewPeer::~ListViewPeer() {
    for (HIMAGELIST il : {images_, smallImages_})
        if (il) ImageList_Destroy(il);
}

void ListViewPeer::init() {
    const ListViewWnd list{wnd_.h};
    if (!lv_.imageList.empty()) images_ = makeImageList(lv_.imageList, 32);
    if (images_) list.setImageList(images_, LVSIL_NORMAL);
    if (!lv_.smallImageList.empty()) smallImages_ = makeImageList(lv_.smallImageList, GetSystemMetrics(SM_CXSMICON));
    if (smallImages_) list.setImageList(smallImages_, LVSIL_SMALL);
    ControlPeer::init();
}

void ListViewPeer::pushList() {
    const ListViewWnd list{wnd_.h};
    list.clear();
    // Spacing first: with the list empty there is no scroll bar to narrow
    // it while the entries are placed.
    fitIconSpacing(static_cast<int>(lv_.items().size()));
    int n = 0;
    for (const ListView::Item& it : lv_.items()) list.insert(n++, it.text, it.image);
}

void ListViewPeer::pushValue() {
    const ListViewWnd list{wnd_.h};
    const int n = lv_.selectedItem();
    if (n != list.selected()) list.select(n);
}

// Spreads the icons evenly over the list and closes the rows up so that
// every entry shows without a scroll bar, as long as an icon with two lines
// of text under it still fits its cell.
void ListViewPeer::fitIconSpacing(int count) {
    if (count <= 0) return;
    const ListViewWnd list{wnd_.h};
    const int edge = 2 * GetSystemMetrics(SM_CXEDGE);
    const int w = px_.width() - edge, h = px_.height() - edge;
    const DWORD spacing = list.iconSpacing();
    layout::Spacing usual;
    usual.cx = LOWORD(spacing);
    usual.cy = HIWORD(spacing);
    if (w <= 0 || h <= 0 || usual.cy <= 0) return;
    HDC dc = GetDC(wnd_.h);
    HGDIOBJ old = SelectObject(dc, host_.font());
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(wnd_.h, dc);
    layout::Spacing least;
    least.cx = std::max(32, 9 * static_cast<int>(tm.tmAveCharWidth));
    least.cy = 32 + 2 * static_cast<int>(tm.tmHeight) + MulDiv(10, host_.dpi(), 96);
    const layout::Spacing sp = layout::iconSpacing(count, w, h, usual, least);
    if (sp.cx > 0) list.setIconSpacing(sp.cx, sp.cy);
}

void ListViewPeer::notify(const NMHDR& nh) {
    ListView& lv = lv_;
    if (nh.code == LVN_ITEMCHANGED) {
        const auto& nm = reinterpret_cast<const NMLISTVIEW&>(nh);
        if ((nm.uChanged & LVIF_STATE) && ((nm.uNewState ^ nm.uOldState) & LVIS_SELECTED)) {
            const int n = ListViewWnd{wnd_.h}.selected();
            host_.toModel([&lv, n] { lv.setSelectedItem(n); });
        }
    } else if ((nh.code == static_cast<UINT>(NM_DBLCLK) || nh.code == static_cast<UINT>(NM_RETURN)) && reachable()) {
        // A double click, or Enter on the list: the item activation Windows
        // also sends for both is left alone so it runs once.
        const int n = ListViewWnd{wnd_.h}.selected();
        host_.toModel([&lv, n] {
            lv.setSelectedItem(n);
            lv.dblClick();
        });
    }
}

}  // namespace ui::win32
