#include <cstring>
#include <exception>
#include <vector>

#include "platform/win32/Win32Platform.h"
#include "platform/win32/PathRules.h"

#include <windows.h>

namespace platform::win32 {

namespace {

// A Win32 call that fills a buffer and returns the length it needed.
template <typename Call>
std::string fetchText(Call call) {
    std::vector<char> buf(MAX_PATH + 1);
    for (int attempt = 0; attempt < 8; ++attempt) {
        const DWORD n = call(buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return std::string();
        if (n < buf.size() - 1) return std::string(buf.data(), n);
        buf.resize(buf.size() * 2);
    }
    return std::string();
}

bool startProcess(const char* application, std::string commandLine) {
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA si;
    std::memset(&si, 0, sizeof si);
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi;
    std::memset(&pi, 0, sizeof pi);
    if (!CreateProcessA(application, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

}  // namespace

bool Win32VersionQuery::getVersion(OsVersionData& out) {
    static_assert(sizeof(OSVERSIONINFOA) == 148, "the ANSI version record is 148 bytes");
    OSVERSIONINFOA vi;
    std::memset(&vi, 0, sizeof vi);
    vi.dwOSVersionInfoSize = sizeof vi;
    if (!GetVersionExA(&vi)) return false;
    out.major = vi.dwMajorVersion;
    out.minor = vi.dwMinorVersion;
    out.build = vi.dwBuildNumber;
    out.platformId = vi.dwPlatformId;
    static_assert(sizeof(out.servicePack) == sizeof(vi.szCSDVersion), "128 service-pack bytes");
    std::memcpy(out.servicePack, vi.szCSDVersion, sizeof out.servicePack);
    return true;
}

std::optional<FileVersionWords> Win32FileVersions::fileVersion(const std::string& fileName) {
    const std::string path =
        paths::isFolderRelative(fileName) ? paths::underSystemFolder(fileName, Win32Files().systemFolder()) : fileName;
    // Each call maps the whole file, so read once into room enough for the
    // usual resource, and ask for the size only when it is larger.
    std::vector<BYTE> buf(8192);
    if (!GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(buf.size()), buf.data())) return std::nullopt;
    WORD whole = 0;
    std::memcpy(&whole, buf.data(), sizeof whole);
    if (whole > buf.size()) {
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
        if (size < whole) return std::nullopt;
        // A damaged resource may claim more than the process can hold: a
        // file without a readable version, not a failure of the caller.
        try {
            buf.assign(size, 0);
        } catch (const std::exception&) {
            return std::nullopt;
        }
        if (!GetFileVersionInfoA(path.c_str(), 0, size, buf.data())) return std::nullopt;
    }
    void* block = nullptr;
    UINT len = 0;
    char root[] = "\\";
    if (!VerQueryValueA(buf.data(), root, &block, &len) || !block) return std::nullopt;
    // A damaged resource may give a shorter block: never read past it.
    if (len < sizeof(VS_FIXEDFILEINFO)) return std::nullopt;
    VS_FIXEDFILEINFO info;
    std::memcpy(&info, block, sizeof info);
    FileVersionWords w;
    w.ms = info.dwFileVersionMS;
    w.ls = info.dwFileVersionLS;
    return w;
}

FileLength Win32Files::fileLength(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        switch (GetLastError()) {
            case ERROR_INVALID_NAME:
            case ERROR_BAD_PATHNAME:
            case ERROR_FILENAME_EXCED_RANGE:
                return {FileLengthStatus::BadFileName, 0};
            default:
                return {FileLengthStatus::NotFound, 0};
        }
    }
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return {FileLengthStatus::NotFound, 0};
    const std::uint64_t n = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return {FileLengthStatus::Ok, n};
}

std::string Win32Files::programFolder() {
    HMODULE module = static_cast<HMODULE>(module_);
    return paths::folderOf(fetchText([module](char* b, DWORD n) { return GetModuleFileNameA(module, b, n); }));
}

std::string Win32Files::systemFolder() {
    return paths::withoutTrailingSlash(fetchText([](char* b, DWORD n) { return GetSystemDirectoryA(b, n); }));
}

bool Win32Launcher::startCommandLine(const std::string& commandLine) {
    if (commandLine.find_first_not_of(" \t") == std::string::npos) return false;
    return startProcess(nullptr, commandLine);
}

bool Win32Launcher::startFile(const std::string& path) {
    // Exactly the named file, also as the application, so that nothing is
    // looked for along the search path.
    if (!paths::startablePath(path)) return false;
    const DWORD attrs = GetFileAttributesA(path.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES || (attrs & FILE_ATTRIBUTE_DIRECTORY)) return false;
    return startProcess(path.c_str(), paths::quotedCommandLine(path));
}

}  // namespace platform::win32
