// What the installed driver and A3D builds mean for Windows XP: the known
// builds and the advice for each, as data.
#pragma once
#include <array>
#include <string>

namespace info {

struct DriverVerdict {
    const char* version;  // the driver's version text, compared exactly
    const char* size;     // the driver file's size text, or null for any size
    const char* text;     // what the user is told
};

// Every known build, in the order they are compared.
const std::array<DriverVerdict, 7>& driverVerdicts();

// The advice for a driver version and file size; "" when the build is unknown.
std::string driverVerdict(const std::string& version, const std::string& size);
// The advice for an A3D library version; every version gets one.
std::string a3dVerdict(const std::string& version);

}  // namespace info
