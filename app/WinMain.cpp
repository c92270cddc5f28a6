// Program start: the real system services, the main window, the message
// loop. Nothing that goes wrong in here may end the program with an
// unhandled exception.
// The program's headers come before <windows.h>, whose REG_SZ and
// HKEY_LOCAL_MACHINE macros would break their declarations of those names.
#include "main/frmMain.h"
#include "platform/Services.h"
#include "platform/mdlRegistry.h"
#include "platform/win32/Win32Platform.h"

#include <memory>

#include "ui/win32/Win32Ui.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    int exitCode = 0;
    try {
        platform::win32::Win32Registry registry;
        platform::mdlRegistry reg(registry);
        platform::win32::Win32VersionQuery version;
        platform::win32::Win32FileVersions fileVersions;
        platform::win32::Win32Files files;
        platform::win32::Win32Launcher launcher;
        platform::win32::Win32FileDialogs fileDialogs;
        platform::win32::Win32DocumentFiles documents;
        platform::win32::Win32Clock clock;

        platform::Services sys;
        sys.registry = &registry;
        sys.reg = &reg;
        sys.version = &version;
        sys.fileVersions = &fileVersions;
        sys.files = &files;
        sys.launcher = &launcher;
        sys.fileDialogs = &fileDialogs;
        sys.documents = &documents;
        sys.clock = &clock;

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
