// The program itself, shared by quillmere.exe and quillmere.cpl.
#pragma once
#include <windows.h>

namespace app {

// Runs the main window to its end, or brings the one already open to the
// front. `instance` is the module that holds the resources and names the
// program's folder: the exe's, or the control panel item's inside another
// process. Returns the exit code.
int run(HINSTANCE instance, int showCommand);

}  // namespace app
