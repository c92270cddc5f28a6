#include "platform/modWinVersion.h"

namespace platform {

namespace {

std::string trimBlanks(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && s[b] == ' ') ++b;
    while (e > b && s[e - 1] == ' ') --e;
    return s.substr(b, e - b);
}

}  // namespace

std::int32_t DetectWindowsName(VersionQuery& query, WindowsVersionInfo& record) {
    OsVersionData d;
    if (!query.getVersion(d)) return 0;

    record.major = static_cast<std::int32_t>(d.major);
    record.minor = static_cast<std::int32_t>(d.minor);
    record.build = d.platformId == 1 ? static_cast<std::int32_t>(d.build & 0xFFFF) : static_cast<std::int32_t>(d.build);
    record.platform = static_cast<std::int32_t>(d.platformId);

    std::string sp;
    for (std::size_t i = 0; i < sizeof d.servicePack; ++i) {
        if (d.servicePack[i] == '\0') {
            sp = trimBlanks(std::string(d.servicePack, i));
            break;
        }
    }
    record.servicePack = sp;

    struct Row { std::int32_t code; const char* name; };
    Row r{0, "0"};
    switch (d.platformId) {
    case 0: r = {2, "Windows 32s"}; break;
    case 1:
        switch (d.minor) {
        case 0: r = {3, "Windows 95"}; break;
        case 10: r = {4, "Windows 98"}; break;
        case 90: r = {5, "Windows ME"}; break;
        default: r = {0, "Unknown"}; break;
        }
        break;
    case 2:
        if (d.major == 3) r = {32, "Windows NT3"};
        else if (d.major == 4) r = {33, "Windows NT4"};
        else if (d.major == 5 && d.minor == 0) r = {34, "Windows 2000"};
        else if (d.major == 5 && d.minor == 1) r = {35, "Windows XP"};
        else r = {0, "Unknown"};
        break;
    default: break;
    }
    record.code = r.code;
    record.name = r.name;
    return 1;
}

}  // namespace platform
