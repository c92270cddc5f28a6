// One realized form: its top-level window, a child window per control, and
// the translation between window messages and the model's setters.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/Form.h"
#include "ui/Geometry.h"

namespace ui::win32 {

class Toolkit;

class FormWindow : public ui::Peer, public std::enable_shared_from_this<FormWindow> {
public:
    FormWindow(Toolkit& tk, Form& form);
    ~FormWindow() override;

    // Creates the windows from the form's controls, hidden.
    void build();
    // Destroys every window and frees every object made for them. The form
    // may be half destroyed already (its controls gone), so nothing of it
    // is touched here.
    void teardown();

    void update(Control& c, Aspect what) override;
    void updateForm(FormAspect what);

    LRESULT proc(UINT msg, WPARAM wp, LPARAM lp);
    // Keys the dialog manager would get wrong for this layout; true when the
    // message was handled.
    bool preTranslate(MSG& msg);
    // The dialog manager's keyboard interface (Tab, arrows, Enter, Esc,
    // access keys) over this form; true when it took the message.
    bool dialogMessage(MSG& msg);

    HWND hwnd() const { return hwnd_; }
    bool dead() const { return dead_; }

    static LRESULT CALLBACK formProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK controlProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref);
    static const char* className() { return "QuillmereForm"; }

private:
    struct Ctl {
        Control* c = nullptr;
        HWND h = nullptr;
        int id = 0;
        ATOM atom = 0;
        geometry::PixelRect px;  // in the form's client area
        bool hasTipRect = false;  // a tool on the form: tips over a disabled control
        int page = -1;            // the tab page it lies on, or -1
        // A drop-down list's opened list: a pick from it counts at its close.
        bool dropped = false, picked = false;
    };

    // Model calls from window messages: never while pushing model state into
    // the windows, never after teardown, and no exception gets out.
    template <typename F>
    void toModel(F&& f);

    void createControls(const std::vector<std::size_t>& which, bool later);
    void createControl(std::size_t i);
    void initControl(std::size_t i);
    void nameControl(std::size_t i);
    void stackAfterPredecessors(const std::vector<std::size_t>& which);
    void arrangeZOrder();
    void buildPage(int page);
    void idleStep();
    bool wantsTips() const;
    void addTips(const std::vector<std::size_t>& which);
    void renderPage();
    void freePage();
    HFONT labelFont(const Label& l);

    void pushValue(std::size_t i);
    void pushList(std::size_t i);
    void pushText(std::size_t i);
    void refresh(std::size_t i);
    void refreshAll();
    void fixFocus();
    void sync(std::size_t i);
    void updateOptionTabStops(const OptionArray& arr);
    void fitComboDrop(std::size_t i);
    void fitIconSpacing(std::size_t i, int count);
    int tabPaddingFor(const TabStrip& t, int width) const;
    void setDisabledTip(std::size_t i, bool on);

    LRESULT onCommand(WPARAM wp, LPARAM lp);
    LRESULT onNotify(LPARAM lp);
    void onHScroll(WPARAM wp, LPARAM lp);
    void onDialogKey(int id);
    LRESULT defaultButtonId();
    void showDefault(int focused);
    void onActivate(WPARAM wp);
    void restoreFocus();
    void onComboCommand(std::size_t i, int code);
    void onArrowFocus(HWND now, HWND before);
    bool stepTab(bool back);
    bool mnemonic(char key);
    void focusAfter(std::size_t i);

    bool ctlColor(HDC dc, HWND child, LRESULT& brush);
    void paintBackground(HDC dc);
    void fillPage(HDC dc, const RECT& r, int x, int y);
    void fillUnder(HDC dc, std::size_t i, int w, int h);
    void drawPicture(const DRAWITEMSTRUCT& dis);

    int indexOf(HWND h) const;
    int indexOfId(int id) const;
    bool reachable(std::size_t i) const;
    int px(int twips) const;
    void centre();

    Toolkit& tk_;
    Form* form_;
    bool isMain_ = false;
    bool dead_ = false;
    bool placed_ = false;
    int pushing_ = 0;
    HWND hwnd_ = nullptr;
    HWND tip_ = nullptr;
    HWND lastFocus_ = nullptr;
    ATOM formAtom_ = 0;
    std::vector<Ctl> ctls_;
    int tabIndex_ = -1;  // the tab strip's entry in ctls_
    int tabPadding_ = 0;
    std::vector<HIMAGELIST> imageLists_;
    // The tab strip as drawn, for the backgrounds of what lies on its pages
    // under visual styles; null without them.
    HBITMAP pageBitmap_ = nullptr;
    HBRUSH pageBrush_ = nullptr;
    std::vector<HFONT> fonts_;  // heading labels' fonts
    // Pages of the tab strip whose controls exist. Only the page on show is
    // made before the window appears; the rest follow while it is idle, or
    // at once when the user turns to one of them.
    std::vector<bool> pageBuilt_;
    bool idleStarted_ = false;
};

}  // namespace ui::win32
