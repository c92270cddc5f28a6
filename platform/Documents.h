// Files the user chooses: the standard Open and Save dialogs, reading and
// writing a whole file, and today's date for a file's default name.
#pragma once
#include <cstddef>
#include <optional>
#include <string>

namespace platform {

struct FileDialogRequest {
    std::string title;
    std::string filterName, filterPattern;  // "Registration Files (*.reg)", "*.reg"
    std::string defaultName;                // Save only
    std::string defaultExtension;           // added when the user types none
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The path chosen, or nothing when the user cancels. Save asks before
    // it lets an existing file be chosen.
    virtual std::optional<std::string> askSavePath(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> askOpenPath(const FileDialogRequest& request) = 0;
};

enum class FileStatus { Ok, NotFound, AccessDenied, DiskFull, Failed };

class DocumentFiles {
public:
    virtual ~DocumentFiles() = default;
    // Writes the file whole, or leaves it as it was: the bytes go to a
    // new file beside it, which then replaces it.
    virtual FileStatus replaceWhole(const std::string& path, const std::string& bytes) = 0;
    // At most `limit` bytes from the file's start.
    virtual FileStatus readStart(const std::string& path, std::size_t limit, std::string& out) = 0;
};

struct Date {
    int year = 0, month = 0, day = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual Date today() = 0;  // local time
};

}  // namespace platform
