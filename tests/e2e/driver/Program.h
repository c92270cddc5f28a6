// The program's process and its top-level windows: starting it as a
// program or as a Control Panel item, finding its windows, ending it, and
// the processes it starts.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "Controls.h"
#include "Timing.h"

namespace e2e {

class MsgBox;

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

private:
    void launch(const std::string& exe, const std::string& arguments, const std::string& workDir);
    void* process_ = nullptr;
    void* job_ = nullptr;
    unsigned pid_ = 0;
};

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

// Runs a command line of the prefix to its end; its exit code.
unsigned runToEnd(const std::string& commandLine, int timeoutMs = scaled(kStartTimeout));

}  // namespace e2e
