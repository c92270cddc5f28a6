// The platform interfaces over the Windows API: advapi32 for the registry,
// kernel32 for the version, files and program start, version.dll for
// version resources. Every text is 8-bit in the system code page.
#pragma once
#include "platform/Documents.h"
#include "platform/Registry.h"
#include "platform/System.h"

namespace platform::win32 {

// One advapi32 call per operation. A 0 handle is passed through and the
// call simply fails, as the registry procedures expect.
class Win32Registry : public Registry {
public:
    RegStatus openKey(Root root, const char* path, Access access, RegKey& out) override;
    RegStatus createKey(Root root, const char* path, Access access, RegKey& out) override;
    RegStatus queryValueInfo(RegKey key, const char* name, ValueType& type, std::uint32_t& size) override;
    RegStatus queryValue(RegKey key, const char* name, ValueType& type, std::uint8_t* data,
                         std::uint32_t& size) override;
    RegStatus setValue(RegKey key, const char* name, ValueType type, const std::uint8_t* data,
                       std::uint32_t size) override;
    RegStatus deleteValue(RegKey key, const char* name) override;
    RegStatus closeKey(RegKey key) override;
};

// GetVersionExA with the 148-byte OSVERSIONINFOA.
class Win32VersionQuery : public VersionQuery {
public:
    bool getVersion(OsVersionData& out) override;
};

// The fixed file version from version.dll. A relative name is taken
// relative to the system folder, where the callers' files live.
class Win32FileVersions : public FileVersionSource {
public:
    std::optional<FileVersionWords> fileVersion(const std::string& fileName) override;
};

// The program's folder is the one of `module` (an HMODULE): the exe's, or
// the control panel item's, which runs inside another program's process.
class Win32Files : public Files {
public:
    explicit Win32Files(void* module = nullptr) : module_(module) {}
    FileLength fileLength(const std::string& path) override;
    std::string programFolder() override;
    std::string systemFolder() override;

private:
    void* module_;
};

class Win32Launcher : public Launcher {
public:
    bool startCommandLine(const std::string& commandLine) override;
    bool startFile(const std::string& path) override;
};

// GetSaveFileNameA and GetOpenFileNameA over the active window.
class Win32FileDialogs : public FileDialogs {
public:
    std::optional<std::string> askSavePath(const FileDialogRequest& request) override;
    std::optional<std::string> askOpenPath(const FileDialogRequest& request) override;
};

class Win32DocumentFiles : public DocumentFiles {
public:
    FileStatus replaceWhole(const std::string& path, const std::string& bytes) override;
    FileStatus readStart(const std::string& path, std::size_t limit, std::string& out) override;
    FileStatus makeFolder(const std::string& path) override;
    std::vector<std::string> filesIn(const std::string& folder, const std::string& pattern) override;
    FileStatus remove(const std::string& path) override;
};

// shell32's SHGetFolderPathA, which Windows 2000 and XP export.
class Win32UserFolders : public UserFolders {
public:
    std::optional<std::string> applicationData() override;
};

class Win32Clock : public Clock {
public:
    Date now() override;
};

}  // namespace platform::win32
