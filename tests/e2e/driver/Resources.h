// What the program holds of the system's objects, for finding leaks.
#pragma once
#include <cstdint>
#include <string>

#include "Program.h"

namespace e2e {

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

}  // namespace e2e
