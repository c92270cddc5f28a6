// A window: its controls, its load, show, hide and unload, the title-bar
// close box, message boxes, and the hand-over to a dialog and back.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "ui/Controls.h"

namespace ui {

constexpr const char* kProgramName = "Quillmere";
// How the message of a failed user action begins; the window's caption follows.
constexpr const char* kChangeFailed = "Quillmere could not complete this change in the window \"";

// Message box styles and answers, as the windows use them.
constexpr int MB_OK_ = 0;
constexpr int MB_YESNO_ = 4;
constexpr int MB_CRITICAL_ = 16;
constexpr int MB_INFORMATION_ = 64;
constexpr int ID_OK = 1;
constexpr int ID_YES = 6;
constexpr int ID_NO = 7;

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    // Shows text with title and style over `owner` (may be null); the answer out.
    virtual int show(Form* owner, const std::string& text, const std::string& title, int style) = 0;
};

enum class FormAspect { Caption, Visible, Enabled, Front };

// A user's action on a window, borrowed for the length of one call: two
// pointers, where a std::function would cost its copy and manager per use.
class UserAction {
public:
    template <typename F, typename = std::enable_if_t<!std::is_same_v<std::decay_t<F>, UserAction>>>
    UserAction(F&& f) : f_(&f), call_([](void* p) { (*static_cast<std::remove_reference_t<F>*>(p))(); }) {}
    void operator()() const { call_(f_); }

private:
    void* f_;
    void (*call_)(void*);
};

// A command of the window's system menu (the title-bar icon's menu and
// Alt+Space), below the standard ones.
struct SystemCommand {
    std::string caption;
    std::function<void()> run;
    std::function<bool()> available;  // none: always
};

// Realizes forms as real windows (ui/win32); headless forms have none.
class Realizer {
public:
    virtual ~Realizer() = default;
    virtual void realize(Form& f) = 0;
    virtual void destroy(Form& f) = 0;
    virtual void update(Form& f, FormAspect what) = 0;
};

// What every window needs from the toolkit's host; dialogs inherit their
// owner's.
struct UiServices {
    MessageBoxService* messageBox = nullptr;
    Realizer* realizer = nullptr;
};

class Form {
public:
    Form(std::string name, UiServices services);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    virtual ~Form();

    const std::string& name() const { return name_; }
    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& c);
    // Inner area, in twips.
    int clientWidth() const { return clientW_; }
    int clientHeight() const { return clientH_; }
    void setClientSize(int w, int h) { clientW_ = w; clientH_ = h; }
    // Where the window first appears: over its owner (the main window: the
    // screen), or in the middle of the screen.
    bool centreOnScreen = false;
    // Whether its title bar shows the program's icon.
    bool hasIcon = true;

    // Every control, in the order the window created them: reading and Tab order.
    const std::vector<Control*>& controls() const { return controls_; }
    Control* find(const std::string& name, int index = -1) const;
    // The tab strip whose pages the controls lie on: the first made, or null.
    TabStrip* tabStrip() const;

    // Runs Form_Load once, before the window is first shown.
    void load();
    bool loaded() const { return loaded_; }
    void show();
    void hide();
    void unload();
    bool visible() const { return visible_; }
    bool enabled() const { return enabled_; }
    void setEnabled(bool e);
    void bringToFront();

    // The title-bar close box: QueryClose when the window has one, else a
    // dialog gives its owner back and the main window unloads.
    void closeBox();
    std::function<void()> QueryClose;
    std::function<void()> Unloaded;

    int msgBox(const std::string& text, const std::string& title, int style);

    // Runs a user's action (a click, a pick, a menu command) on this
    // window. A handler that fails half way may have written part of a
    // change, so the user is told, once, in this window's name; nothing
    // unwinds into the caller and the window goes on. False if it failed.
    bool fromUser(UserAction action);
    // Tells the user that the current exception cut a change short.
    void reportFailure();

    // Added before the window is realized; the realization lists them.
    void addSystemCommand(std::string caption, std::function<void()> run, std::function<bool()> available = {});
    const std::vector<SystemCommand>& systemCommands() const { return systemCommands_; }
    // Greyed while the window is disabled (a dialog has it) or the command
    // is not available.
    bool systemCommandEnabled(std::size_t i) const;
    // The user's choice; a greyed command does nothing.
    void runSystemCommand(std::size_t i);

    // While one lives, setting a control's state runs no handler: for
    // putting controls back as they were created.
    class Silence {
    public:
        explicit Silence(Form& f) : f_(f) { ++f_.silenced_; }
        ~Silence() { --f_.silenced_; }
        Silence(const Silence&) = delete;
        Silence& operator=(const Silence&) = delete;

    private:
        Form& f_;
    };
    bool silenced() const { return silenced_ > 0; }

    // Hand-over: show `dialog` modeless (its load first), then hide this
    // window (unless keepOwnerVisible), then disable it. The dialog's close
    // box gives it back unless the dialog sets its own QueryClose.
    Form& openDialog(std::unique_ptr<Form> dialog, bool keepOwnerVisible = false);
    // The dialog's closing button: enable the owner, hide and unload this
    // dialog, enable the owner again and show it.
    void giveBack();
    Form* owner() const { return owner_; }
    // The open dialog of this window, if any (for tests and realizations).
    Form* openChild() const;

    const UiServices& services() const { return services_; }
    bool isDialog() const { return owner_ != nullptr; }

protected:
    virtual void Form_Load() {}
    // Runs once, when the window has first become visible.
    virtual void Form_Activate() {}

private:
    friend class Control;
    friend class OptionArray;
    void add(Control* c);
    void purgeClosedDialogs();

    std::string name_, caption_;
    int clientW_ = 0, clientH_ = 0;
    UiServices services_;
    std::vector<Control*> controls_;
    // The first tab strip added: every control's visibility asks for it.
    Control* tabStrip_ = nullptr;
    bool loaded_ = false, visible_ = false, enabled_ = true, realized_ = false, activated_ = false;
    Form* owner_ = nullptr;
    bool ownerStaysVisible_ = false;
    std::vector<std::unique_ptr<Form>> dialogs_;
    std::vector<SystemCommand> systemCommands_;
    int silenced_ = 0;
};

}  // namespace ui
