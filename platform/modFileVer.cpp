#include "platform/modFileVer.h"

namespace platform {

std::string FormatFileVersion(const FileVersionWords& w) {
    return std::to_string(w.ms >> 16) + "." + std::to_string(w.ms & 0xFFFF) + "." + std::to_string(w.ls >> 16) + "." +
           std::to_string(w.ls & 0xFFFF);
}

std::string ReadFileVersion(FileVersionSource& source, const std::string& fileName) {
    auto words = source.fileVersion(fileName);
    if (!words) return "N/A";
    return FormatFileVersion(*words);
}

}  // namespace platform
