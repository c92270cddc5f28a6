// What the driver's files share and the tests never see: Windows' own
// types, messages that cannot hang a test, the program's window names,
// and memory inside the program for messages that carry a pointer.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "Timing.h"

namespace e2e {

enum class Icon;

namespace detail {

std::string lower(std::string s);
std::string hex(unsigned long v);
std::string narrow(const std::wstring& w);

inline HWND H(Hwnd h) { return static_cast<HWND>(h); }

// Every message to the program goes through here, so a hung program fails
// the test instead of hanging it.
LRESULT send(HWND h, UINT msg, WPARAM w, LPARAM l, const std::string& what);

std::string windowText(HWND h, const std::string& what);
// A top-level window's caption without a message, so a busy program cannot
// stall a search.
std::string captionOf(HWND h);
std::string classOf(HWND h);
bool isClass(HWND h, const char* cls);
// The name the program gave a window: a global atom in its "QmName" property.
std::string qmName(HWND h);

DWORD processOf(HWND h);
std::vector<HWND> topLevelWindows(DWORD pid);
std::vector<HWND> descendants(HWND parent);
// Where another process keeps its process environment block, or null.
PVOID pebOf(HANDLE proc);

// A block of memory inside the program, for messages that carry a pointer:
// Wine marshals only the standard messages below WM_USER.
class Remote {
public:
    Remote(HWND target, std::size_t size) : size_(size) {
        proc_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                            FALSE, processOf(target));
        if (proc_) mem_ = VirtualAllocEx(proc_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (!mem_) {
            if (proc_) CloseHandle(proc_);
            throw Failure("cannot reach the program's memory (error " + std::to_string(GetLastError()) + ")");
        }
    }
    ~Remote() {
        VirtualFreeEx(proc_, mem_, 0, MEM_RELEASE);
        CloseHandle(proc_);
    }
    Remote(const Remote&) = delete;
    Remote& operator=(const Remote&) = delete;
    char* at(std::size_t off) const { return static_cast<char*>(mem_) + off; }
    void write(std::size_t off, const void* data, std::size_t n) {
        SIZE_T done = 0;
        if (off + n > size_ || !WriteProcessMemory(proc_, at(off), data, n, &done) || done != n)
            throw Failure("cannot write into the program's memory");
    }
    void read(std::size_t off, void* data, std::size_t n) const {
        SIZE_T done = 0;
        if (off + n > size_ || !ReadProcessMemory(proc_, at(off), data, n, &done) || done != n)
            throw Failure("cannot read the program's memory");
    }

private:
    HANDLE proc_ = nullptr;
    void* mem_ = nullptr;
    std::size_t size_;
};

// A path from the environment, or `fallback`; a Unix path is on Wine's
// drive Z:.
std::string pathFromEnvironment(const char* variable, const char* fallback);
// Every missing folder on the way to `path` (a Windows path), from the
// top; not `path` itself.
void makeFoldersAbove(const std::string& path);

// Whether a top-level window is a message box, not one of the program's
// forms.
bool isMessageBox(HWND h);
// Which system icon a message box's icon control shows, told by its pixels.
Icon classify(HWND iconCtl);

}  // namespace detail
}  // namespace e2e
