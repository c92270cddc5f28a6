// Drives the real quillmere.exe from outside, inside the same Wine: writes
// the starting registry, starts the program, finds its windows and controls,
// acts on them the way a user's input would, reads and answers message
// boxes, and reads the registry back.
//
// Every helper that waits does so by polling with a timeout, and every
// helper that finds the program not behaving throws e2e::Failure, which
// GoogleTest reports as a failure of the calling test. Nothing here includes
// <windows.h>, so a test can use the settings catalogue's names freely.
//
// Each of the driver's jobs has its own header and source in driver/; this
// header includes them all.
#pragma once

#include "driver/Controls.h"
#include "driver/Dialogs.h"
#include "driver/Files.h"
#include "driver/Input.h"
#include "driver/Layout.h"
#include "driver/Pixels.h"
#include "driver/Program.h"
#include "driver/Registry.h"
#include "driver/Resources.h"
#include "driver/Timing.h"
