// Drives the real quillmere.exe from outside, inside the same Wine: writes
// the starting registry, starts the program, finds its windows and controls,
// acts on them the way a user's input would, reads and answers message
// boxes, and reads the registry back.
//
// Every helper that waits does so by polling with a timeout, and every
// helper that finds the program not behaving throws e2e::Failure, which
// GoogleTest reports as a failure of the calling test. Nothing here includes
// <windows.h>, so a test can use the settings catalogue's names freely.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace settings {
struct Setting;
}

namespace e2e {

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

using Hwnd = void*;

// Windows' numbers for message-box buttons and virtual keys.
constexpr int IDOK_ = 1, IDCANCEL_ = 2, IDYES_ = 6, IDNO_ = 7;
constexpr int VK_LEFT_ = 0x25, VK_UP_ = 0x26, VK_RIGHT_ = 0x27, VK_DOWN_ = 0x28;
constexpr int VK_HOME_ = 0x24, VK_END_ = 0x23, VK_PRIOR_ = 0x21, VK_NEXT_ = 0x22, VK_SPACE_ = 0x20, VK_F4_ = 0x73;

// Timeouts in milliseconds, multiplied by QM_E2E_TIMEOUT_SCALE when set
// (a slow machine).
int scaled(int ms);
constexpr int kStartTimeout = 30000;  // a window of a freshly started program
constexpr int kStepTimeout = 5000;    // one reaction of a running program

// Polls `done` until it holds or the time is up; true when it held.
bool waitUntil(const std::function<bool()>& done, int timeoutMs);

// ---------------------------------------------------------------- registry
namespace reg {

enum class Root { LocalMachine, CurrentUser };

struct Value {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    // The number of a REG_DWORD, else none.
    std::optional<std::uint32_t> dword() const;
    // The text of a REG_SZ without any terminating NULs, else "".
    std::string text() const;
    std::string describe() const;  // "REG_DWORD 8", "REG_SZ \"x\"", ...
    bool operator==(const Value& o) const { return type == o.type && data == o.data; }
    bool operator!=(const Value& o) const { return !(*this == o); }
};

// Every key and value below some keys; paths and names lower-cased, as the
// registry compares them.
struct Snapshot {
    std::set<std::string> keys;
    std::map<std::string, Value> values;  // "key\\path" + "\\" + "name"
    bool operator==(const Snapshot& o) const { return keys == o.keys && values == o.values; }
    bool operator!=(const Snapshot& o) const { return !(*this == o); }
};
// What changed, one line per key or value; "" when nothing did.
std::string diff(const Snapshot& before, const Snapshot& after);

bool keyExists(const std::string& path, Root root = Root::LocalMachine);
void createKey(const std::string& path, Root root = Root::LocalMachine);
void removeKey(const std::string& path, Root root = Root::LocalMachine);  // with its sub-keys; missing is fine
void setDword(const std::string& path, const std::string& name, std::uint32_t v, Root root = Root::LocalMachine);
void setString(const std::string& path, const std::string& name, const std::string& v,
               Root root = Root::LocalMachine);
void setBinary(const std::string& path, const std::string& name, const std::vector<std::uint8_t>& v,
               Root root = Root::LocalMachine);
void removeValue(const std::string& path, const std::string& name, Root root = Root::LocalMachine);
std::optional<Value> get(const std::string& path, const std::string& name, Root root = Root::LocalMachine);
Snapshot snapshot(const std::vector<std::string>& paths, Root root = Root::LocalMachine);

// The same by catalogue entry: set() writes a number as the entry's type
// (REG_SZ as decimal text); the key must exist, as the driver's would.
void set(const settings::Setting& s, std::int32_t v);
void setText(const settings::Setting& s, const std::string& v);
void remove(const settings::Setting& s);
std::optional<Value> get(const settings::Setting& s);
bool exists(const settings::Setting& s);
// The stored number of a REG_DWORD entry, none when missing or of another type.
std::optional<std::uint32_t> dword(const settings::Setting& s);
// The stored text of a REG_SZ entry, none when missing or of another type.
std::optional<std::string> text(const settings::Setting& s);

}  // namespace reg

// Every key the program reads or writes (driver, A3D, equalizer, tray
// autostart, media player, WPCRSET), for snapshots.
const std::vector<std::string>& programKeys();
reg::Snapshot snapshotProgramKeys();
// Removes everything the program could read: the driver's, Aureal's and
// WPCRSET's keys, the "AU30TRAY" autostart and the ".Prog" command.
void clearProgramRegistry();
// A driver installation as the driver's setup leaves it: the service key
// with ControlPanel, Customization and SpdifEnableList, every catalogue
// value that has a reset default set to it. No A3D, tray or WPCRSET values.
void installDriver();
// The Windows version Wine reports to quillmere.exe: "winxp", "win2k", ...
void setReportedWindows(const std::string& version);

// ---------------------------------------------------------------- files
// The Windows folders of the prefix ("C:\\windows", "C:\\windows\\system32").
std::string windowsDir();
std::string systemDir();
// A file built by tools/fixtures, by its path below the folder scripts/test
// passes in QM_FIXTURES ("drv-2559\\adm8830.sys"); throws when there is none.
std::string fixture(const std::string& relative);
void copyFile(const std::string& from, const std::string& to);  // replaces, makes the folder
void removeFile(const std::string& path);                        // missing is fine
// Removes the driver and A3D files the program measures and reads.
void clearDriverFiles();

// ---------------------------------------------------------------- windows
class Control {
public:
    Control() = default;
    Control(Hwnd h, std::string name) : hwnd_(h), name_(std::move(name)) {}
    Hwnd hwnd() const { return hwnd_; }
    const std::string& name() const { return name_; }
    explicit operator bool() const { return hwnd_ != nullptr; }

    std::string className() const;
    bool exists() const;
    std::string text() const;  // window text: caption, label, text box
    bool enabled() const;      // the window itself
    bool visible() const;      // the window and every parent
    bool usable() const { return enabled() && visible(); }

    // Check box or option button: 0, 1 or 2 (grayed).
    int checked() const;
    // Scroll bar or trackbar.
    int position() const;
    int rangeMin() const;
    int rangeMax() const;
    // Drop-down list, tab strip or list view: the chosen entry (-1 none),
    // the number of entries and their texts.
    int selectedIndex() const;
    int count() const;
    std::string itemText(int i) const;
    std::vector<std::string> items() const;
    std::string selectedText() const;

    // As a user. Each refuses (throws) on a control that is disabled or
    // hidden, since Wine would act on it where Windows would not.
    void click();       // button or check box; returns after its handler ran
    void clickAsync();  // the same, posted: for a click that opens a modal box
    void pressKey(int vk);
    void moveTo(int pos);                 // scroll bar or trackbar, by arrow keys
    void choose(int index);               // list, tab (TCM_SETCURFOCUS) or list-view entry
    void choose(const std::string& text);  // by entry text
    // Drop-down list: opened with F4, the entry reached with the arrow keys
    // in the opened list and picked with Enter.
    void pick(const std::string& text);
    void doubleClickItem(int index);      // list-view entry, a real double click at it

protected:
    std::string describe() const;
    void requireUsable(const char* action) const;
    Hwnd hwnd_ = nullptr;
    std::string name_;
};

class Window : public Control {
public:
    Window() = default;
    Window(Hwnd h, std::string name) : Control(h, std::move(name)) {}
    // A control by its name ("chkTray"; "optDigOut", 2 for "optDigOut(2)");
    // throws when there is none.
    Control control(const std::string& name) const;
    Control control(const std::string& name, int index) const;
    std::optional<Control> find(const std::string& name) const;
    // Fallback for a control without a name: window class and text.
    std::optional<Control> findByClassAndText(const std::string& cls, const std::string& text) const;
    std::vector<Control> controls() const;
    // The title bar's close box, as a user presses it (posted).
    void closeFromFrame();
};

enum class Icon { None, Information, Critical, Question, Warning, Unrecognised };
const char* toString(Icon i);

class MsgBox {
public:
    MsgBox() = default;
    explicit MsgBox(Hwnd h) : hwnd_(h) {}
    Hwnd hwnd() const { return hwnd_; }
    std::string title() const;
    std::string text() const;
    // Which system icon it shows, told by its pixels on the screen.
    Icon icon() const;
    std::vector<int> buttons() const;  // IDOK_, IDYES_, ... present
    bool open() const;
    // Presses a button and waits for the box to go.
    void answer(int button);

private:
    Hwnd hwnd_ = nullptr;
};

// The program under test. The destructor ends it (and anything it started)
// if it still runs, so one failing test does not hang the rest.
class App {
public:
    App();
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // Path from QM_EXE (a Windows or a Unix path), unless given.
    static std::string defaultExe();
    void start(const std::string& exe = std::string(), const std::string& workDir = std::string());
    // The Control Panel item from QM_CPL, as the system's control.exe
    // opens it: the program runs inside that process.
    static std::string defaultApplet();
    void startApplet(const std::string& cpl = std::string());
    bool running() const;
    unsigned pid() const { return pid_; }

    // A top-level window by form name ("frmMain") or, failing that, caption;
    // waits until it is visible and, for the program's own, every control
    // of it exists.
    Window form(const std::string& nameOrCaption, int timeoutMs = scaled(kStartTimeout)) const;
    std::optional<Window> findForm(const std::string& nameOrCaption) const;  // visible or not
    // Waits for a message box of the program.
    MsgBox messageBox(int timeoutMs = scaled(kStepTimeout)) const;
    std::optional<MsgBox> findMessageBox() const;
    // Waits for the program to end; its exit code.
    unsigned waitForExit(int timeoutMs = scaled(kStepTimeout));
    void kill();
    // Command lines of the processes the program started that still run
    // (children share its job object).
    std::vector<std::string> startedProcesses() const;

private:
    void launch(const std::string& exe, const std::string& arguments, const std::string& workDir);
    void* process_ = nullptr;
    void* job_ = nullptr;
    unsigned pid_ = 0;
};

}  // namespace e2e

// ---------------------------------------------------------------- more helpers
namespace e2e {

// Replaces a text box's content as a user's typing would: selects it all
// and types `text` character by character, so the box reports each change.
void typeText(const Control& box, const std::string& text);

// The window that owns a top-level window (a message box's owner), or null.
Hwnd ownerOf(Hwnd h);

// A program built beside the test program ("fake_mixer.exe"), by its Windows
// path; throws when there is none.
std::string testProgram(const std::string& fileName);

// What fake_mixer.exe recorded when it ran under the file name `fileName`
// (compared without regard to case): how often it ran, its command line and
// the file it ran from. None when it never ran since clearStartRecords().
struct StartRecord {
    unsigned runs = 0;
    std::string command;
    std::string module;
};
std::optional<StartRecord> startRecord(const std::string& fileName);
void clearStartRecords();

}  // namespace e2e

namespace e2e {

// A drag of a scroll bar's or trackbar's thumb with the mouse, as a user
// makes it: the button goes down on the thumb, the mouse moves, the button
// comes up. The control tracks the mouse and sends its own notifications
// (SB_THUMBTRACK, TB_THUMBTRACK while dragging; the end-of-move ones on
// release). The mouse messages are posted: a scroll bar tracks the mouse in
// a message loop of its own, and a sent button press would only return when
// the drag is over.
class ThumbDrag {
public:
    // Presses the button on the thumb; refuses a disabled or hidden control.
    explicit ThumbDrag(const Control& bar);
    ~ThumbDrag();  // lets the button go if the test did not
    ThumbDrag(const ThumbDrag&) = delete;
    ThumbDrag& operator=(const ThumbDrag&) = delete;

    // Moves the mouse `pixels` along the control (negative: to the left)
    // and waits until the thumb shows another position; that position.
    int moveBy(int pixels);
    // Moves the mouse past the control's right (or left) end and waits
    // until the thumb stands at that end of the range; that position.
    int moveToEnd(bool right);
    // Lets the button go where the mouse is. The program's handling of
    // the end of the move is not waited for: poll for its effect.
    void release();

private:
    void post(unsigned msg, unsigned keys);
    Control bar_;
    int x_ = 0, y_ = 0;
    bool pressed_ = false;
};

}  // namespace e2e

namespace e2e {

// Waits until the program's user-interface thread is back in its message
// loop, or waiting in a message box of its own: only there does it answer a
// sent message. For a handler that goes on after its message box closed.
void waitUntilIdle(const Window& w);

}  // namespace e2e

// ---------------------------------------------------------------- layout, keys, resources
namespace e2e {

// A rectangle in screen pixels.
struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    bool contains(const Box& o) const {
        return o.left >= left && o.top >= top && o.right <= right && o.bottom <= bottom;
    }
    bool overlaps(const Box& o) const {
        return !empty() && !o.empty() && o.left < right && left < o.right && o.top < bottom && top < o.bottom;
    }
    std::string describe() const;  // "(10,20)-(30,40)"
    bool operator==(const Box& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const Box& o) const { return !(*this == o); }
};

// What a child window is drawn as, told by its class and style.
enum class Look { Button, CheckBox, Option, GroupBox, Label, Picture, TextBox, ComboList, ScrollBar, Slider, TabStrip,
                  ListView, Other };
Look lookOf(const Control& c);
const char* toString(Look l);

// The controls directly on a window, in its Tab order (child window order).
std::vector<Control> childrenOf(const Window& w);
// A control's rectangle on the screen (a drop-down list's closed field, as
// Windows keeps it).
Box screenBox(const Control& c);
// A window's client area on the screen.
Box clientBox(const Control& c);
// The page of a tab strip: inside its border and below its tabs.
Box tabPageBox(const Control& tabs);
// The rectangle of tab `i` of a tab strip, and how many rows the tabs take.
Box tabItemBox(const Control& tabs, int i);
int tabRows(const Control& tabs);
// The rectangle of entry `i` of a list view (icon and label).
Box listItemBox(const Control& list, int i);
// Whether the control shows a scroll bar of its own.
bool showsScrollBar(const Control& c);
// Whether a window's title bar shows an icon, as the system decides: one the
// window was given, else the default one that only a modal frame leaves out.
bool showsWindowIcon(const Window& w);
// Whether a list view has an image list for its large or its small icons.
bool hasImageList(const Control& list, bool small);
// The screen's work area, and its pixels per inch as this process sees it
// (the program in the same prefix sees the same).
Box workArea();
int screenDpi();

// Pixels a caption takes in the system's dialog font ('&' marks a
// mnemonic): on one line, or wrapped at words into `wrapWidth`.
struct Extent {
    int width = 0, height = 0;
};
Extent captionExtent(const std::string& caption, int wrapWidth = 0);
// The height of a line of the dialog font.
int lineHeight();
// The face the system draws the dialog font with ("Tahoma" on XP; a Wine
// prefix without Tahoma gives a wider stand-in).
std::string dialogFontFace();

// Moves a control by dx, dy and grows it by dw, dh pixels behind the
// program's back: for checking that layout checks see a misplaced control.
void moveControlBy(const Control& c, int dx, int dy, int dw, int dh);

// What a window shows on the screen once its painting has settled: 32-bit
// BGRX pixels, top row first.
struct Shot {
    Box box;  // where on the screen
    std::vector<std::uint32_t> px;
    // The colour (0xRRGGBB) at a point on the screen; 0 outside the shot.
    std::uint32_t at(int screenX, int screenY) const;
};
Shot shoot(const Window& w);
// Saves that picture as a 24-bit BMP file. The folder must exist.
void saveScreenshot(const Window& w, const std::string& path);
// The folder QM_SHOTS_DIR names (a Windows or a Unix path), made if need
// be; "" when the variable is unset.
std::string shotsFolder();

// The window that has the keyboard focus in the program's user-interface
// thread (the thread of `w`), with its control name; an empty control when
// none has.
Control focusIn(const Window& w);
// Makes `w` the foreground window, so that keyboard input reaches it.
void bringToFront(const Window& w);
// The foreground window, and a window minimized as its button would.
Hwnd foregroundWindow();
void minimize(const Window& w);
bool minimized(const Window& w);
// A key as the keyboard gives it, after making `w` the foreground window:
// the system queues it and keeps the key states, and the program translates
// it itself. Returns at once, since the program takes input only after its
// sent and posted messages: poll for the key's effect.
constexpr int VK_TAB_ = 0x09, VK_RETURN_ = 0x0D, VK_ESCAPE_ = 0x1B;
void typeKey(const Window& w, int vk, bool shift = false);
// Alt held with a letter or digit, as for a mnemonic.
void typeAlt(const Window& w, char key);

// What the program holds of the system's objects. Where the system does not
// count them for a process (Wine's GetGuiResources and
// GetProcessHandleCount give 0), each is counted another way, and `how`
// tells which.
struct Resources {
    long gdiObjects = -1;   // GDI objects, -1 when they cannot be counted
    long userObjects = -1;  // USER objects, or its windows
    long handles = -1;      // kernel handles
    long windows = 0;       // top-level windows and their children
    std::uint64_t privateBytes = 0;
    std::string how;
};
Resources resourcesOf(const App& app);
// Whether a global atom of that name exists (the program names its windows
// with them).
bool globalAtomExists(const std::string& name);

namespace reg {
// A value's name in a Snapshot's values.
std::string snapshotName(const std::string& key, const std::string& name);
// A value of any type holding exactly these bytes: a REG_DWORD of 8 bytes,
// a REG_SZ without its NUL.
void setRaw(const std::string& path, const std::string& name, std::uint32_t type, const std::vector<std::uint8_t>& data,
            Root root = Root::LocalMachine);
}  // namespace reg

// The dialogs the main window opens, and their opening as a user does it:
// the tab, then the button (frmQuad: "Yes" to its warning and OK to its
// note; frmAC97Mixer: "AC97 Mixer" in the tools list, with no path stored;
// frmWPCRSET stays open only with WPCRSET's two "Start" values stored).
// Waits for the dialog and returns it.
const std::vector<std::string>& dialogForms();
Window openDialog(const App& app, const Window& main, const std::string& form);

// Whether Wine leaves the program's windows to the X server, unmanaged by
// any window manager (for the program's later starts). Xvfb has none, and
// hiding a managed window makes Wine wait two seconds for a manager's
// answer: every hand-over to a dialog and back hides a window.
void setUnmanagedWindows(bool unmanaged);

}  // namespace e2e

// ---------------------------------------------------------------- system menu, file dialogs, files
namespace e2e {
// Opens the window's system menu as Alt+Space does (the menu the title-bar
// icon opens), goes up to the entry `fromEnd` places from its end (1: the
// last) with the arrow key and presses Enter, as a keyboard user may. Posted:
// the entry may open a modal dialog. Throws when the menu does not open.
void chooseSystemMenuEntry(const App& app, const Window& w, int fromEnd);
// Only opens it; the menu's window.
Hwnd openSystemMenu(const App& app, const Window& w);
// Whether one of the program's menus is still open; closes them with Esc.
bool closeOpenMenus(const App& app);
// The program's standard Open or Save dialog with this title, when it
// appears within the time.
std::optional<Window> findFileDialog(const App& app, const std::string& title, int timeoutMs);
// Types the path into the dialog's file name box and presses its Save or
// Open button, as a user would; waits for the dialog to go.
void chooseFile(const Window& dialog, const std::string& path);
// Whole files of the prefix, by Windows path; none when unreadable.
std::optional<std::string> readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);  // makes the folder
// Runs a command line of the prefix to its end; its exit code.
unsigned runToEnd(const std::string& commandLine, int timeoutMs = scaled(kStartTimeout));
}  // namespace e2e
