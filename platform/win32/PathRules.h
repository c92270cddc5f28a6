// How the Win32 services read the file names they are given: which names
// the current folder would decide, which the system folder holds, and which
// typed path may be started as exactly that file. Plain text rules, free of
// <windows.h>, so they are checked headless too.
#pragma once
#include <string>

namespace platform::win32::paths {

inline bool isSlash(char c) { return c == '\\' || c == '/'; }

inline bool hasDrive(const std::string& p) {
    return p.size() >= 2 && p[1] == ':' && ((p[0] >= 'A' && p[0] <= 'Z') || (p[0] >= 'a' && p[0] <= 'z'));
}

// "C:\x", "C:/x" or "\\server\share\x": one place whatever the current
// folder and drive are.
inline bool isAbsolute(const std::string& p) {
    if (hasDrive(p)) return p.size() >= 3 && isSlash(p[2]);
    return p.size() >= 3 && isSlash(p[0]) && isSlash(p[1]) && !isSlash(p[2]);
}

// No drive and no leading slash: the current folder would decide.
inline bool isFolderRelative(const std::string& p) { return !hasDrive(p) && !(!p.empty() && isSlash(p[0])); }

inline std::string withoutTrailingSlash(std::string s) {
    while (!s.empty() && isSlash(s.back())) s.pop_back();
    return s;
}

// The folder of a file's path, without a trailing slash ("C:\x.exe" gives
// "C:"); "" when the path names no folder.
inline std::string folderOf(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\/");
    if (cut == std::string::npos) return std::string();
    return withoutTrailingSlash(path.substr(0, cut));
}

// The program names its version files relative to the system folder
// ("drivers\adm8830.sys"); the version API would look for such a name in
// the current folder only.
inline std::string underSystemFolder(const std::string& name, const std::string& systemFolder) {
    if (name.empty() || systemFolder.empty() || !isFolderRelative(name)) return name;
    return withoutTrailingSlash(systemFolder) + "\\" + name;
}

// A typed path that may be started as exactly that file: a full path, no
// wildcard, no quote that could end the quoted command line early, and
// not the device or raw namespace. (Whether the file exists is the
// system's to say.)
inline bool startablePath(const std::string& p) {
    if (!isAbsolute(p) || p.find_first_of("\"*?<>|") != std::string::npos) return false;
    if (p.size() >= 4 && isSlash(p[0]) && isSlash(p[1]) && (p[2] == '?' || p[2] == '.') && isSlash(p[3]))
        return false;
    return true;
}

// The command line that names exactly `path`, spaces and all.
inline std::string quotedCommandLine(const std::string& path) { return "\"" + path + "\""; }

}  // namespace platform::win32::paths
