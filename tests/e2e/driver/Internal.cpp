#include "Internal.h"

#include <algorithm>
#include <cstdio>

namespace e2e {
namespace detail {

std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

std::string hex(unsigned long v) {
    char b[16];
    std::snprintf(b, sizeof b, "0x%lX", v);
    return b;
}

std::string narrow(const std::wstring& w) {
    if (w.empty()) return std::string();
    int n = WideCharToMultiByte(CP_ACP, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(std::size_t(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, w.data(), int(w.size()), &s[0], n, nullptr, nullptr);
    return s;
}

LRESULT send(HWND h, UINT msg, WPARAM w, LPARAM l, const std::string& what) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(h, msg, w, l, SMTO_NORMAL, UINT(scaled(kStepTimeout)), &result))
        throw Failure("no answer from " + what + " to message " + hex(msg) +
                      " (a modal box open? use clickAsync for a click that opens one)");
    return LRESULT(result);
}

std::string windowText(HWND h, const std::string& what) {
    LRESULT n = send(h, WM_GETTEXTLENGTH, 0, 0, what);
    std::wstring w(std::size_t(n) + 1, L'\0');
    LRESULT got = send(h, WM_GETTEXT, WPARAM(w.size()), LPARAM(&w[0]), what);
    w.resize(std::size_t(std::max<LRESULT>(0, got)));
    return narrow(w);
}

std::string captionOf(HWND h) {
    wchar_t b[512] = {0};
    GetWindowTextW(h, b, 512);
    return narrow(b);
}

std::string classOf(HWND h) {
    char b[256] = {0};
    GetClassNameA(h, b, sizeof b);
    return b;
}

std::string qmName(HWND h) {
    ATOM a = ATOM(reinterpret_cast<UINT_PTR>(GetPropA(h, "QmName")));
    if (!a) return std::string();
    char b[256] = {0};
    if (!GlobalGetAtomNameA(a, b, sizeof b)) return std::string();
    return b;
}

DWORD processOf(HWND h) {
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    return pid;
}

namespace {

struct TopLevelSearch {
    DWORD pid;
    std::vector<HWND> out;
};

BOOL CALLBACK collectTopLevel(HWND h, LPARAM p) {
    auto* c = reinterpret_cast<TopLevelSearch*>(p);
    if (processOf(h) == c->pid) c->out.push_back(h);
    return TRUE;
}

BOOL CALLBACK collectChild(HWND h, LPARAM p) {
    reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
    return TRUE;
}

}  // namespace

std::vector<HWND> topLevelWindows(DWORD pid) {
    TopLevelSearch ctx{pid, {}};
    EnumWindows(collectTopLevel, LPARAM(&ctx));
    return ctx.out;
}

std::vector<HWND> descendants(HWND parent) {
    std::vector<HWND> out;
    EnumChildWindows(parent, collectChild, LPARAM(&out));
    return out;
}

bool isClass(HWND h, const char* cls) { return lower(classOf(h)) == lower(cls); }

PVOID pebOf(HANDLE proc) {
    using NtQip = LONG(WINAPI*)(HANDLE, int, PVOID, ULONG, PULONG);
    static auto query = reinterpret_cast<NtQip>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    if (!query) return nullptr;
    struct {
        PVOID reserved1;
        PVOID peb;
        PVOID reserved2[2];
        ULONG_PTR pid;
        PVOID reserved3;
    } pbi = {};
    if (query(proc, 0, &pbi, sizeof pbi, nullptr) != 0) return nullptr;
    return pbi.peb;
}

}  // namespace detail
}  // namespace e2e
