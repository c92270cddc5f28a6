#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/win32/Win32Platform.h"

#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

namespace platform::win32 {

namespace {

std::optional<std::string> askPath(const FileDialogRequest& request, bool save) {
    // The filter is pairs of texts ending in an empty one.
    std::string filter = request.filterName;
    filter += '\0';
    filter += request.filterPattern;
    filter += '\0';
    filter += '\0';
    std::vector<char> file(MAX_PATH + 1, '\0');
    if (save) std::strncpy(file.data(), request.defaultName.c_str(), MAX_PATH);

    OPENFILENAMEA ofn;
    std::memset(&ofn, 0, sizeof ofn);
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = GetActiveWindow();
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrTitle = request.title.c_str();
    ofn.lpstrInitialDir = request.initialFolder.empty() ? nullptr : request.initialFolder.c_str();
    ofn.lpstrDefExt = request.defaultExtension.empty() ? nullptr : request.defaultExtension.c_str();
    // The program's own folder stays its current one, whatever the user browses.
    ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
    ofn.Flags |= save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST;
    const BOOL ok = save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    if (!ok) return std::nullopt;
    return std::string(file.data());
}

FileStatus statusOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
            return FileStatus::NotFound;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
        case ERROR_SHARING_VIOLATION:
            return FileStatus::AccessDenied;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return FileStatus::DiskFull;
        default:
            return FileStatus::Failed;
    }
}

std::string folderForTemp(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return ".";
    if (slash == 2 && path[1] == ':') return path.substr(0, 3);  // "C:\"
    return path.substr(0, slash);
}

}  // namespace

std::optional<std::string> Win32FileDialogs::askSavePath(const FileDialogRequest& request) { return askPath(request, true); }

std::optional<std::string> Win32FileDialogs::askOpenPath(const FileDialogRequest& request) { return askPath(request, false); }

FileStatus Win32DocumentFiles::replaceWhole(const std::string& path, const std::string& bytes) {
    char temp[MAX_PATH + 1] = {};
    // Made in the target's folder, so the replacement is a rename on one volume.
    if (!GetTempFileNameA(folderForTemp(path).c_str(), "qm", 0, temp)) return statusOf(GetLastError());
    HANDLE h = CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD e = GetLastError();
        DeleteFileA(temp);
        return statusOf(e);
    }
    DWORD written = 0;
    BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size() && FlushFileBuffers(h);
    DWORD e = ok ? 0 : GetLastError();
    if (!CloseHandle(h) && ok) {
        ok = FALSE;
        e = GetLastError();
    }
    if (ok && !MoveFileExA(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ok = FALSE;
        e = GetLastError();
    }
    if (!ok) {
        DeleteFileA(temp);
        // A short write without an error code is a full disk.
        return e ? statusOf(e) : FileStatus::DiskFull;
    }
    return FileStatus::Ok;
}

FileStatus Win32DocumentFiles::readStart(const std::string& path, std::size_t limit, std::string& out) {
    out.clear();
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) return statusOf(GetLastError());
    std::vector<char> buf(64 * 1024);
    FileStatus st = FileStatus::Ok;
    while (out.size() < limit) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(buf.size(), limit - out.size()));
        if (!ReadFile(h, buf.data(), want, &got, nullptr)) {
            st = statusOf(GetLastError());
            break;
        }
        if (got == 0) break;
        out.append(buf.data(), got);
    }
    CloseHandle(h);
    return st;
}

FileStatus Win32DocumentFiles::makeFolder(const std::string& path) {
    if (CreateDirectoryA(path.c_str(), nullptr)) return FileStatus::Ok;
    const DWORD e = GetLastError();
    if (e == ERROR_ALREADY_EXISTS) {
        const DWORD a = GetFileAttributesA(path.c_str());
        if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY)) return FileStatus::Ok;
    }
    return statusOf(e);
}

std::vector<std::string> Win32DocumentFiles::filesIn(const std::string& folder, const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA d;
    HANDLE h = FindFirstFileA((folder + "\\" + pattern).c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(d.cFileName);
    } while (FindNextFileA(h, &d));
    FindClose(h);
    return names;
}

FileStatus Win32DocumentFiles::remove(const std::string& path) {
    return DeleteFileA(path.c_str()) ? FileStatus::Ok : statusOf(GetLastError());
}

std::optional<std::string> Win32UserFolders::applicationData() {
    char path[MAX_PATH + 1] = {};
    if (SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK || !path[0])
        return std::nullopt;
    return std::string(path);
}

Date Win32Clock::now() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

}  // namespace platform::win32
