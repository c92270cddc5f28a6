#include "Files.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "Internal.h"

namespace e2e {

namespace detail {

std::string pathFromEnvironment(const char* variable, const char* fallback) {
    const char* e = std::getenv(variable);
    std::string p = e ? e : fallback;
    if (!p.empty() && p[0] == '/') {
        std::replace(p.begin(), p.end(), '/', '\\');
        p = "Z:" + p;
    }
    return p;
}

void makeFoldersAbove(const std::string& path) {
    for (std::size_t i = 3; i < path.size(); ++i)
        if (path[i] == '\\') CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
}

}  // namespace detail

using namespace detail;

std::string windowsDir() {
    char b[MAX_PATH] = {0};
    GetWindowsDirectoryA(b, MAX_PATH);
    return b;
}

std::string systemDir() {
    char b[MAX_PATH] = {0};
    GetSystemDirectoryA(b, MAX_PATH);
    return b;
}

std::string fixture(const std::string& relative) {
    const char* root = std::getenv("QM_FIXTURES");
    if (!root || !*root) throw Failure("QM_FIXTURES is not set (scripts/test sets it)");
    std::string p = std::string(root) + "\\" + relative;
    if (GetFileAttributesA(p.c_str()) == INVALID_FILE_ATTRIBUTES) throw Failure("no fixture " + p);
    return p;
}

void copyFile(const std::string& from, const std::string& to) {
    makeFoldersAbove(to);
    if (!CopyFileA(from.c_str(), to.c_str(), FALSE))
        throw Failure("cannot copy " + from + " to " + to + " (error " + std::to_string(GetLastError()) + ")");
}

void removeFile(const std::string& path) {
    if (!DeleteFileA(path.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND && GetLastError() != ERROR_PATH_NOT_FOUND)
        throw Failure("cannot delete " + path + " (error " + std::to_string(GetLastError()) + ")");
}

void clearDriverFiles() {
    const std::string sys = systemDir();
    for (const char* f : {"\\drivers\\adm8830.sys", "\\drivers\\admaud30.sys", "\\a3d.dll", "\\a3dapi.dll"})
        removeFile(sys + f);
}

std::optional<std::string> readFile(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return std::nullopt;
    std::string out;
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) out.append(buf, n);
    std::fclose(f);
    return out;
}

void writeFile(const std::string& path, const std::string& bytes) {
    makeFoldersAbove(path);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw Failure("cannot write " + path);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

}  // namespace e2e
