#pragma once
#include <string>

#include "platform/System.h"

namespace platform {

// Four dotted decimal parts of a file's version, or "N/A".
std::string ReadFileVersion(FileVersionSource& source, const std::string& fileName);
std::string FormatFileVersion(const FileVersionWords& words);

}  // namespace platform
