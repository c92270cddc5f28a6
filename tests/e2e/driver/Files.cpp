#include "Files.h"

#include <cstdio>
#include <cstdlib>

#include "Internal.h"

namespace e2e {

namespace {

void makeFolderOf(const std::string& path) {
    for (std::size_t i = 3; i < path.size(); ++i)
        if (path[i] == '\\') CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
}

}  // namespace

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
    std::size_t slash = to.find_last_of('\\');
    if (slash != std::string::npos) {
        // Every missing folder on the way, from the top.
        for (std::size_t at = to.find('\\', 3); at != std::string::npos && at <= slash; at = to.find('\\', at + 1))
            CreateDirectoryA(to.substr(0, at).c_str(), nullptr);
    }
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
    makeFolderOf(path);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw Failure("cannot write " + path);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

}  // namespace e2e
