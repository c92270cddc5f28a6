// The real system services, the main window and the message loop, for the
// exe and the control panel item alike. Nothing that goes wrong in here may
// end the program with an unhandled exception.
#include "main/frmMain.h"
#include "platform/Services.h"
#include "platform/mdlRegistry.h"
#include "platform/win32/Win32Platform.h"

#include <memory>

#include "app/Run.h"
#include "ui/win32/FormWindow.h"
#include "ui/win32/Win32Ui.h"

namespace app {

namespace {

// One Quillmere window at a time, whether started as the exe or from the
// Control Panel: the mutex says one runs, its main window is found by the
// class only the program registers.
constexpr const char* kMutexName = "Quillmere.MainWindow";
// How long a second start waits for the first one's window to appear
// before it runs on its own.
constexpr DWORD kFindTimeoutMs = 5000;

HWND runningMainWindow() {
    HWND h = nullptr;
    while ((h = FindWindowExA(nullptr, h, ui::win32::FormWindow::className(), ui::kProgramName)) != nullptr)
        if (!GetWindow(h, GW_OWNER)) return h;
    return nullptr;
}

// The window in front may be a dialog the main window handed over to, its
// owner hidden meanwhile.
bool bringForward(HWND main) {
    HWND front = GetLastActivePopup(main);
    if (!front || !IsWindowVisible(front)) front = main;
    if (!IsWindowVisible(front)) return false;
    if (IsIconic(main)) ShowWindow(main, SW_RESTORE);
    SetForegroundWindow(front);
    return true;
}

class OneWindow {
public:
    // True when this start is to run; false when the window already open
    // was brought to the front instead. An instance still closing, or one
    // showing no window for long, does not keep this one from running.
    bool claim() {
        const DWORD start = GetTickCount();
        for (;;) {
            mutex_ = CreateMutexA(nullptr, FALSE, kMutexName);
            if (!mutex_ || GetLastError() != ERROR_ALREADY_EXISTS) return true;
            HWND other = runningMainWindow();
            if (other && bringForward(other)) return false;
            if (GetTickCount() - start >= kFindTimeoutMs) return true;
            CloseHandle(mutex_);
            mutex_ = nullptr;
            Sleep(100);
        }
    }
    // Let go as soon as the window has gone, before the process ends.
    ~OneWindow() {
        if (mutex_) CloseHandle(mutex_);
    }

private:
    HANDLE mutex_ = nullptr;
};

}  // namespace

int run(HINSTANCE instance, int showCommand) {
    int exitCode = 0;
    try {
        OneWindow one;
        if (!one.claim()) return 0;

        platform::win32::Win32Registry registry;
        platform::mdlRegistry reg(registry);
        platform::win32::Win32VersionQuery version;
        platform::win32::Win32FileVersions fileVersions;
        platform::win32::Win32Files files(instance);
        platform::win32::Win32Launcher launcher;
        platform::win32::Win32FileDialogs fileDialogs;
        platform::win32::Win32DocumentFiles documents;
        platform::win32::Win32Clock clock;
        platform::win32::Win32UserFolders folders;

        platform::Services sys;
        sys.reg = &reg;
        sys.version = &version;
        sys.fileVersions = &fileVersions;
        sys.files = &files;
        sys.launcher = &launcher;
        sys.fileDialogs = &fileDialogs;
        sys.documents = &documents;
        sys.clock = &clock;
        sys.folders = &folders;

        // Declared before the window so the window goes first.
        ui::win32::Toolkit toolkit(instance, showCommand);
        ui::win32::MessageBoxes boxes(toolkit);
        ui::UiServices ui;
        ui.messageBox = &boxes;
        ui.realizer = &toolkit;

        auto main = std::make_unique<frmMain>(sys, ui);
        main->show();
        // A load that unloaded the window again leaves nothing to run.
        if (main->loaded()) exitCode = toolkit.run();
        main.reset();
    } catch (...) {
        MessageBoxA(nullptr, "Quillmere could not continue and will close.", ui::kProgramName,
                    MB_OK | MB_ICONHAND | MB_TASKMODAL);
        exitCode = 1;
    }
    return exitCode;
}

}  // namespace app
