#include "info/DriverVerdicts.h"

namespace info {

namespace {
#define QM_NO_DRIVER "You don't appear to have any drivers installed correctly"
#define QM_WIN2000_TAIL \
    "  While these do work in Windows XP, they were designed for Windows 2000 and hence haven't been fully " \
    "tested.  It is recommended that you use the in-box Windows XP driver."
// Where to look for the roll-back instructions.
#define QM_SUPPORT_SITE "an Aureal driver support web site"

// Constant data: built as strings at start-up, the table cost more code
// than text.
constexpr std::array<DriverVerdict, 7> kVerdicts = {{
    {"NA", nullptr, QM_NO_DRIVER},
    {"N/A", nullptr, QM_NO_DRIVER},
    // One version number, two builds: only the file size tells them apart.
    {"5.12.1.2560", "747392",
     "You appear to be running the original Microsoft provided Aureal drivers.  These are the recommended "
     "drivers for Windows XP.  This driver supports full hardware acceleration for DirectSound, DirectSound "
     "3D, A3D and MIDI.  S/PDIF output is also supported."},
    {"5.12.1.2560", "702080",
     "You appear to be running the Microsoft provided Aureal drivers from Windows Update.  These "
     "drivers should not be used since they remove all hardware acceleration for the sound "
     "card.  Try to roll back the driver, or get further instructions from " QM_SUPPORT_SITE "."},
    {"5.12.1.2559", nullptr, "You appear to be running the Aureal Beta drivers." QM_WIN2000_TAIL},
    {"5.10.2500.49", nullptr, "You appear to be running the Aureal Public Beta drivers." QM_WIN2000_TAIL},
    {"5.0.2169.1", nullptr, "You appear to be running the Windows 2000 in-box drivers." QM_WIN2000_TAIL},
}};
#undef QM_NO_DRIVER
#undef QM_WIN2000_TAIL
#undef QM_SUPPORT_SITE
}  // namespace

const std::array<DriverVerdict, 7>& driverVerdicts() { return kVerdicts; }

std::string driverVerdict(const std::string& version, const std::string& size) {
    for (const DriverVerdict& v : driverVerdicts())
        if (version == v.version && (!v.size || size == v.size)) return v.text;
    return std::string();
}

std::string a3dVerdict(const std::string& version) {
    if (version == "80.0.0.3")
        return "You seem to have the SoundBlaster Live! A3D drivers.  These work by converting A3D into DirectSound "
               "3D.  It is recommended that you use the Aureal A3D driver included with Windows XP for the best "
               "compatibility";
    return "Your A3D driver seems OK.";
}

}  // namespace info
