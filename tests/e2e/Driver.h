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
constexpr int VK_HOME_ = 0x24, VK_END_ = 0x23, VK_PRIOR_ = 0x21, VK_NEXT_ = 0x22, VK_SPACE_ = 0x20;

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
    bool running() const;
    unsigned pid() const { return pid_; }

    // A top-level window by form name ("frmMain") or, failing that, caption;
    // waits until it is visible.
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
    void* process_ = nullptr;
    void* job_ = nullptr;
    unsigned pid_ = 0;
};

}  // namespace e2e
