// One realized form: its top-level window and a peer per control (see
// ControlPeer.h). The form window keeps the window's lifetime, makes the
// tab pages not on show once it is idle, hands each message to the peer it
// concerns, and runs the peers' calls into the model under its guard. The
// keyboard, the tooltips and the page background are units of their own.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/Form.h"
#include "ui/win32/ControlPeer.h"
#include "ui/win32/Keyboard.h"
#include "ui/win32/PageBackground.h"
#include "ui/win32/Tooltips.h"

namespace ui::win32 {

class Toolkit;

class FormWindow : public PeerHost, public std::enable_shared_from_this<FormWindow> {
public:
    FormWindow(Toolkit& tk, Form& form);
    ~FormWindow() override;

    // Creates the windows from the form's controls, hidden.
    void build();
    // Destroys every window and frees every object made for them. The form
    // may be half destroyed already (its controls gone), so nothing of it
    // is touched here.
    void teardown();

    void updateForm(FormAspect what);

    LRESULT proc(UINT msg, WPARAM wp, LPARAM lp);
    // See Keyboard.
    bool preTranslate(MSG& msg);
    bool dialogMessage(MSG& msg);

    HWND hwnd() const { return hwnd_; }
    bool dead() const { return dead_; }

    static LRESULT CALLBACK formProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    static const char* className() { return "QuillmereForm"; }

    // PeerHost
    HWND window() const override { return hwnd_; }
    HINSTANCE instance() const override;
    HFONT font() const override;
    int dpi() const override;
    const PageBackground& page() const override { return page_; }
    bool alive() const override { return !dead_; }
    void toModel(UserAction action) override;
    void realizationFailed() override;
    void resync(ControlPeer& p) override;
    void showChange(ControlPeer& p, Aspect what) override;
    ControlPeer* peerAt(HWND h) const override;
    void refresh(ControlPeer& p) override;
    void refreshAll() override;
    void fixFocus() override { keyboard_.fixFocus(); }
    void buildPage(int page) override;
    void pageRestyled() override;
    void defaultMoved(const ControlPeer* focused) override { keyboard_.showDefault(focused); }
    bool arrowing() const override { return keyboard_.arrowing(); }

private:
    void createPeers(const std::vector<std::size_t>& which, bool later);
    void nameWindow(ControlPeer& p);
    void stackAfterPredecessors(const std::vector<std::size_t>& which);
    void arrangeZOrder();
    void idleStep();
    void addTips(const std::vector<std::size_t>& which);
    void renderPage();
    void centre();
    LRESULT onCommand(WPARAM wp, LPARAM lp);

    Toolkit& tk_;
    Form* form_;
    bool isMain_ = false;
    bool dead_ = false;
    bool failureTold_ = false;
    bool placed_ = false;
    int pushing_ = 0;
    HWND hwnd_ = nullptr;
    ATOM formAtom_ = 0;
    std::vector<std::unique_ptr<ControlPeer>> peers_;
    // Peers of a torn-down form, kept until this object goes: a handler that
    // unloaded the form returns into its peer.
    std::vector<std::unique_ptr<ControlPeer>> retired_;
    ControlPeer* tabs_ = nullptr;  // the tab strip's peer
    Keyboard keyboard_{*this, peers_};
    Tooltips tips_;
    PageBackground page_;
    // Pages of the tab strip whose controls exist. Only the page on show is
    // made before the window appears; the rest follow while it is idle, or
    // at once when the user turns to one of them.
    std::vector<bool> pageBuilt_;
    bool idleStarted_ = false;
};

}  // namespace ui::win32
