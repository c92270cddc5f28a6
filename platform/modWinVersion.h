#pragma once
#include <cstdint>
#include <string>

#include "platform/System.h"

namespace platform {

struct WindowsVersionInfo {
    std::int32_t code = 0;
    std::string name;
    std::int32_t major = 0;
    std::int32_t minor = 0;
    std::int32_t build = 0;
    std::int32_t platform = 0;
    std::string servicePack;
};

// Fills `record` and returns 1; returns 0 and leaves it alone when the
// platform's query fails.
std::int32_t DetectWindowsName(VersionQuery& query, WindowsVersionInfo& record);

}  // namespace platform
