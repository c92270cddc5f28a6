// The rest of the operating system the program talks to: version query,
// file version resources, file lengths, program start.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

struct OsVersionData {
    std::uint32_t major = 0, minor = 0, build = 0, platformId = 0;
    char servicePack[128] = {};
};

class VersionQuery {
public:
    virtual ~VersionQuery() = default;
    // False when the platform's query fails.
    virtual bool getVersion(OsVersionData& out) = 0;
};

struct FileVersionWords {
    std::uint32_t ms = 0, ls = 0;
};

class FileVersionSource {
public:
    virtual ~FileVersionSource() = default;
    // The fixed file version of a file, names resolved as the system's
    // version query resolves them; nothing when there is none.
    virtual std::optional<FileVersionWords> fileVersion(const std::string& fileName) = 0;
};

enum class FileLengthStatus { Ok, BadFileName, NotFound };

struct FileLength {
    FileLengthStatus status = FileLengthStatus::NotFound;
    std::uint64_t length = 0;
};

class Files {
public:
    virtual ~Files() = default;
    virtual FileLength fileLength(const std::string& path) = 0;
    // The folder the program was started from, without a trailing backslash.
    virtual std::string programFolder() = 0;
    // The system folder (System32), without a trailing backslash.
    virtual std::string systemFolder() = 0;
};

class Launcher {
public:
    virtual ~Launcher() = default;
    // Starts a command line in a normal window with the focus, without waiting.
    virtual bool startCommandLine(const std::string& commandLine) = 0;
    // Starts exactly the named file, never one found along a search path.
    virtual bool startFile(const std::string& path) = 0;
};

}  // namespace platform
