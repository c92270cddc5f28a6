// What the installed driver and A3D builds mean for Windows XP: the known
// builds and the advice for each, as data.
#pragma once
#include <string>
#include <vector>

namespace info {

struct DriverVerdict {
    const char* version;  // the driver's version text, compared exactly
    const char* size;     // the driver file's size text, or null for any size
    std::string text;     // what the user is told
};

// Every known build, in the order they are compared.
const std::vector<DriverVerdict>& driverVerdicts();

// The advice for a driver version and file size; "" when the build is unknown.
std::string driverVerdict(const std::string& version, const std::string& size);
// The advice for an A3D library version; every version gets one.
std::string a3dVerdict(const std::string& version);

}  // namespace info
