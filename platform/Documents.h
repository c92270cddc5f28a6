// Files the user chooses: the standard Open and Save dialogs, reading and
// writing a whole file; the program's own folder in the user's profile;
// and the local time for a file's name.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace platform {

struct FileDialogRequest {
    std::string title;
    std::string filterName, filterPattern;  // "Registration Files (*.reg)", "*.reg"
    std::string defaultName;                // Save only
    std::string defaultExtension;           // added when the user types none
    std::string initialFolder;              // empty: the system's choice
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
    // Creates the folder; Ok when it is there already.
    virtual FileStatus makeFolder(const std::string& path) = 0;
    // The names (without the folder) of the files in `folder` whose names
    // match `pattern` ("*" and "?" as the system takes them).
    virtual std::vector<std::string> filesIn(const std::string& folder, const std::string& pattern) = 0;
    virtual FileStatus remove(const std::string& path) = 0;
};

class UserFolders {
public:
    virtual ~UserFolders() = default;
    // The user's Application Data folder, as the shell finds it, without a
    // trailing backslash; nothing when there is none.
    virtual std::optional<std::string> applicationData() = 0;
};

struct Date {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual Date now() = 0;  // local time
};

}  // namespace platform
