#include "Driver.h"

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>

namespace e2e {

namespace {

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

HWND H(Hwnd h) { return static_cast<HWND>(h); }

// Every message to the program goes through here, so a hung program fails
// the test instead of hanging it.
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

// A top-level window's caption without a message, so a busy program cannot
// stall a search.
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

// The name the program gave a window: a global atom in its "QmName" property.
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

HKEY rootKey(reg::Root r) { return r == reg::Root::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

std::string rootName(reg::Root r) { return r == reg::Root::CurrentUser ? "HKCU" : "HKLM"; }

void check(LONG rc, const std::string& what) {
    if (rc != ERROR_SUCCESS) throw Failure(what + " failed with error " + std::to_string(rc));
}

struct Key {
    HKEY h = nullptr;
    ~Key() {
        if (h) RegCloseKey(h);
    }
};

void writeValue(const std::string& path, const std::string& name, DWORD type, const void* data, DWORD size,
                reg::Root root) {
    Key k;
    check(RegCreateKeyExA(rootKey(root), path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k.h, nullptr),
          "creating " + rootName(root) + "\\" + path);
    check(RegSetValueExA(k.h, name.c_str(), 0, type, static_cast<const BYTE*>(data), size),
          "writing " + path + "\\" + name);
}

void deleteTree(HKEY parent, const std::string& path) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(parent, path.c_str(), 0, KEY_ALL_ACCESS, &k) != ERROR_SUCCESS) return;
    for (;;) {
        char sub[256];
        DWORD n = sizeof sub;
        if (RegEnumKeyExA(k, 0, sub, &n, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        deleteTree(k, sub);
        // A sub-key that would not go would loop forever.
        HKEY still = nullptr;
        if (RegOpenKeyExA(k, sub, 0, KEY_READ, &still) == ERROR_SUCCESS) {
            RegCloseKey(still);
            RegCloseKey(k);
            throw Failure("cannot delete registry key " + path + "\\" + sub);
        }
    }
    RegCloseKey(k);
    check(RegDeleteKeyA(parent, path.c_str()), "deleting " + path);
}

void walk(HKEY k, const std::string& path, reg::Snapshot& snap) {
    snap.keys.insert(lower(path));
    for (DWORD i = 0;; ++i) {
        char name[16384];
        DWORD nlen = sizeof name, type = 0, dlen = 0;
        LONG rc = RegEnumValueA(k, i, name, &nlen, nullptr, &type, nullptr, &dlen);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        check(rc, "listing " + path);
        reg::Value v;
        v.type = type;
        v.data.resize(dlen);
        nlen = sizeof name;
        DWORD got = dlen;
        check(RegEnumValueA(k, i, name, &nlen, nullptr, &type, v.data.empty() ? nullptr : v.data.data(), &got),
              "reading " + path);
        v.data.resize(got);
        snap.values[lower(path) + "\\" + lower(name)] = v;
    }
    for (DWORD i = 0;; ++i) {
        char sub[256];
        DWORD n = sizeof sub;
        if (RegEnumKeyExA(k, i, sub, &n, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        HKEY c = nullptr;
        if (RegOpenKeyExA(k, sub, 0, KEY_READ, &c) != ERROR_SUCCESS) continue;
        walk(c, path + "\\" + sub, snap);
        RegCloseKey(c);
    }
}

// Screen pixels of a window, 32-bit BGRX, top row first.
std::vector<std::uint32_t> grab(HWND h, int& w, int& ht) {
    RECT r;
    GetWindowRect(h, &r);
    w = r.right - r.left;
    ht = r.bottom - r.top;
    std::vector<std::uint32_t> px;
    if (w <= 0 || ht <= 0) return px;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -ht;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib) {
        HGDIOBJ old = SelectObject(mem, dib);
        if (BitBlt(mem, 0, 0, w, ht, screen, r.left, r.top, SRCCOPY)) {
            GdiFlush();
            auto* p = static_cast<std::uint32_t*>(bits);
            px.assign(p, p + std::size_t(w) * std::size_t(ht));
        }
        SelectObject(mem, old);
        DeleteObject(dib);
    }
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return px;
}

// A system icon as the message box would draw it over `background`.
std::vector<std::uint32_t> render(LPCTSTR id, int w, int h, std::uint32_t background) {
    std::vector<std::uint32_t> px;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib) {
        HGDIOBJ old = SelectObject(mem, dib);
        auto* p = static_cast<std::uint32_t*>(bits);
        std::fill(p, p + std::size_t(w) * std::size_t(h), background);
        DrawIconEx(mem, 0, 0, LoadIcon(nullptr, id), 0, 0, 0, nullptr, DI_NORMAL);
        GdiFlush();
        px.assign(p, p + std::size_t(w) * std::size_t(h));
        SelectObject(mem, old);
        DeleteObject(dib);
    }
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return px;
}

double mismatch(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
    if (a.empty() || a.size() != b.size()) return 1.0;
    std::size_t bad = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        for (int sh = 0; sh < 24; sh += 8) {
            int x = int((a[i] >> sh) & 0xFF), y = int((b[i] >> sh) & 0xFF);
            if (std::abs(x - y) > 40) {
                ++bad;
                break;
            }
        }
    }
    return double(bad) / double(a.size());
}

Icon classify(HWND iconCtl) {
    int w = 0, h = 0;
    std::vector<std::uint32_t> shown = grab(iconCtl, w, h);
    if (shown.empty()) return Icon::Unrecognised;
    struct Candidate {
        Icon icon;
        LPCTSTR id;
    } const candidates[] = {{Icon::Information, IDI_ASTERISK},
                            {Icon::Critical, IDI_HAND},
                            {Icon::Question, IDI_QUESTION},
                            {Icon::Warning, IDI_EXCLAMATION}};
    Icon best = Icon::Unrecognised;
    double bestScore = 0.08;  // at most this share of pixels may differ
    for (const Candidate& c : candidates) {
        double m = mismatch(shown, render(c.id, w, h, shown[0]));
        if (m < bestScore) {
            bestScore = m;
            best = c.icon;
        }
    }
    return best;
}

// Reads a process's command line from its process parameters.
std::string commandLineOf(HANDLE proc) {
    using NtQip = LONG(WINAPI*)(HANDLE, int, PVOID, ULONG, PULONG);
    static auto query = reinterpret_cast<NtQip>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    if (!query) return std::string();
    struct {
        PVOID reserved1;
        PVOID peb;
        PVOID reserved2[2];
        ULONG_PTR pid;
        PVOID reserved3;
    } pbi = {};
    if (query(proc, 0, &pbi, sizeof pbi, nullptr) != 0 || !pbi.peb) return std::string();
    PVOID params = nullptr;
    if (!ReadProcessMemory(proc, static_cast<char*>(pbi.peb) + 0x10, &params, sizeof params, nullptr)) return {};
    struct {
        USHORT length, maximum;
        PWSTR buffer;
    } cmd = {};
    if (!ReadProcessMemory(proc, static_cast<char*>(params) + 0x40, &cmd, sizeof cmd, nullptr)) return {};
    std::wstring w(cmd.length / 2, L'\0');
    if (!w.empty() && !ReadProcessMemory(proc, cmd.buffer, &w[0], cmd.length, nullptr)) return {};
    return narrow(w);
}

}  // namespace

// ---------------------------------------------------------------- timing

int scaled(int ms) {
    static const double scale = [] {
        const char* s = std::getenv("QM_E2E_TIMEOUT_SCALE");
        double v = s ? std::atof(s) : 1.0;
        return v > 0 ? v : 1.0;
    }();
    return int(ms * scale);
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (done()) return true;
        if (GetTickCount() - start >= DWORD(timeoutMs)) return done();
        Sleep(15);
    }
}

// ---------------------------------------------------------------- registry

namespace reg {

std::optional<std::uint32_t> Value::dword() const {
    if (type != REG_DWORD || data.size() != 4) return std::nullopt;
    std::uint32_t v;
    std::memcpy(&v, data.data(), 4);
    return v;
}

std::string Value::text() const {
    std::string s(data.begin(), data.end());
    while (!s.empty() && s.back() == '\0') s.pop_back();
    return s;
}

std::string Value::describe() const {
    switch (type) {
        case REG_DWORD:
            if (auto d = dword()) return "REG_DWORD " + std::to_string(*d);
            break;
        case REG_SZ:
            return "REG_SZ \"" + text() + "\" (" + std::to_string(data.size()) + " bytes)";
        default:
            break;
    }
    std::string s = "type " + std::to_string(type) + ":";
    for (std::size_t i = 0; i < data.size() && i < 24; ++i) {
        char b[4];
        std::snprintf(b, sizeof b, " %02X", data[i]);
        s += b;
    }
    if (data.size() > 24) s += " ... (" + std::to_string(data.size()) + " bytes)";
    return s;
}

std::string diff(const Snapshot& a, const Snapshot& b) {
    std::ostringstream o;
    for (const auto& k : a.keys)
        if (!b.keys.count(k)) o << "key removed: " << k << "\n";
    for (const auto& k : b.keys)
        if (!a.keys.count(k)) o << "key created: " << k << "\n";
    for (const auto& [name, v] : a.values) {
        auto it = b.values.find(name);
        if (it == b.values.end())
            o << "value removed: " << name << " (was " << v.describe() << ")\n";
        else if (it->second != v)
            o << "value changed: " << name << ": " << v.describe() << " -> " << it->second.describe() << "\n";
    }
    for (const auto& [name, v] : b.values)
        if (!a.values.count(name)) o << "value created: " << name << " = " << v.describe() << "\n";
    return o.str();
}

bool keyExists(const std::string& path, Root root) {
    Key k;
    return RegOpenKeyExA(rootKey(root), path.c_str(), 0, KEY_READ, &k.h) == ERROR_SUCCESS;
}

void createKey(const std::string& path, Root root) {
    Key k;
    check(RegCreateKeyExA(rootKey(root), path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k.h, nullptr),
          "creating " + rootName(root) + "\\" + path);
}

void removeKey(const std::string& path, Root root) { deleteTree(rootKey(root), path); }

void setDword(const std::string& path, const std::string& name, std::uint32_t v, Root root) {
    DWORD d = v;
    writeValue(path, name, REG_DWORD, &d, sizeof d, root);
}

void setString(const std::string& path, const std::string& name, const std::string& v, Root root) {
    writeValue(path, name, REG_SZ, v.c_str(), DWORD(v.size() + 1), root);
}

void setBinary(const std::string& path, const std::string& name, const std::vector<std::uint8_t>& v, Root root) {
    writeValue(path, name, REG_BINARY, v.data(), DWORD(v.size()), root);
}

void removeValue(const std::string& path, const std::string& name, Root root) {
    Key k;
    if (RegOpenKeyExA(rootKey(root), path.c_str(), 0, KEY_ALL_ACCESS, &k.h) != ERROR_SUCCESS) return;
    LONG rc = RegDeleteValueA(k.h, name.c_str());
    if (rc != ERROR_FILE_NOT_FOUND) check(rc, "deleting " + path + "\\" + name);
}

std::optional<Value> get(const std::string& path, const std::string& name, Root root) {
    Key k;
    if (RegOpenKeyExA(rootKey(root), path.c_str(), 0, KEY_READ, &k.h) != ERROR_SUCCESS) return std::nullopt;
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(k.h, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    Value v;
    v.type = type;
    v.data.resize(size);
    check(RegQueryValueExA(k.h, name.c_str(), nullptr, &type, size ? v.data.data() : nullptr, &size),
          "reading " + path + "\\" + name);
    v.data.resize(size);
    return v;
}

Snapshot snapshot(const std::vector<std::string>& paths, Root root) {
    Snapshot s;
    for (const std::string& p : paths) {
        Key k;
        if (RegOpenKeyExA(rootKey(root), p.c_str(), 0, KEY_READ, &k.h) == ERROR_SUCCESS) walk(k.h, p, s);
    }
    return s;
}

}  // namespace reg

void setReportedWindows(const std::string& version) {
    std::string exe = App::defaultExe();
    std::size_t slash = exe.find_last_of("\\/");
    std::string file = slash == std::string::npos ? exe : exe.substr(slash + 1);
    for (const std::string& name : {std::string("quillmere.exe"), file}) {
        if (name.empty()) continue;
        reg::setString("Software\\Wine\\AppDefaults\\" + name, "Version", version, reg::Root::CurrentUser);
    }
}

// ---------------------------------------------------------------- files

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

// ---------------------------------------------------------------- controls

std::string Control::describe() const {
    return (name_.empty() ? classOf(H(hwnd_)) : name_) + " (" + hex(reinterpret_cast<UINT_PTR>(hwnd_)) + ")";
}

std::string Control::className() const { return classOf(H(hwnd_)); }
bool Control::exists() const { return hwnd_ && IsWindow(H(hwnd_)); }
std::string Control::text() const { return windowText(H(hwnd_), describe()); }
bool Control::enabled() const { return IsWindowEnabled(H(hwnd_)) != FALSE; }
bool Control::visible() const { return IsWindowVisible(H(hwnd_)) != FALSE; }

void Control::requireUsable(const char* action) const {
    if (!exists()) throw Failure(std::string("cannot ") + action + " " + describe() + ": it no longer exists");
    if (!visible()) throw Failure(std::string("cannot ") + action + " " + describe() + ": it is not visible");
    if (!enabled()) throw Failure(std::string("cannot ") + action + " " + describe() + ": it is disabled");
}

int Control::checked() const { return int(send(H(hwnd_), BM_GETCHECK, 0, 0, describe())); }

int Control::position() const {
    HWND h = H(hwnd_);
    if (isClass(h, TRACKBAR_CLASSA)) return int(send(h, TBM_GETPOS, 0, 0, describe()));
    if (isClass(h, "ScrollBar")) return int(send(h, SBM_GETPOS, 0, 0, describe()));
    throw Failure(describe() + " has no position (class " + className() + ")");
}

int Control::rangeMin() const {
    HWND h = H(hwnd_);
    if (isClass(h, TRACKBAR_CLASSA)) return int(send(h, TBM_GETRANGEMIN, 0, 0, describe()));
    SCROLLINFO si = {sizeof si, SIF_RANGE, 0, 0, 0, 0, 0};
    if (!GetScrollInfo(h, SB_CTL, &si)) throw Failure("cannot read the range of " + describe());
    return si.nMin;
}

int Control::rangeMax() const {
    HWND h = H(hwnd_);
    if (isClass(h, TRACKBAR_CLASSA)) return int(send(h, TBM_GETRANGEMAX, 0, 0, describe()));
    SCROLLINFO si = {sizeof si, SIF_RANGE, 0, 0, 0, 0, 0};
    if (!GetScrollInfo(h, SB_CTL, &si)) throw Failure("cannot read the range of " + describe());
    return si.nMax;
}

int Control::selectedIndex() const {
    HWND h = H(hwnd_);
    if (isClass(h, "ComboBox")) return int(send(h, CB_GETCURSEL, 0, 0, describe()));
    if (isClass(h, WC_TABCONTROLA)) return int(send(h, TCM_GETCURSEL, 0, 0, describe()));
    if (isClass(h, WC_LISTVIEWA)) return int(send(h, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED, describe()));
    throw Failure(describe() + " has no entries (class " + className() + ")");
}

int Control::count() const {
    HWND h = H(hwnd_);
    if (isClass(h, "ComboBox")) return int(send(h, CB_GETCOUNT, 0, 0, describe()));
    if (isClass(h, WC_TABCONTROLA)) return int(send(h, TCM_GETITEMCOUNT, 0, 0, describe()));
    if (isClass(h, WC_LISTVIEWA)) return int(send(h, LVM_GETITEMCOUNT, 0, 0, describe()));
    throw Failure(describe() + " has no entries (class " + className() + ")");
}

std::string Control::itemText(int i) const {
    HWND h = H(hwnd_);
    if (i < 0 || i >= count()) throw Failure(describe() + " has no entry " + std::to_string(i));
    if (isClass(h, "ComboBox")) {
        LRESULT n = send(h, CB_GETLBTEXTLEN, WPARAM(i), 0, describe());
        if (n < 0) throw Failure(describe() + ": no text for entry " + std::to_string(i));
        // Wine returns UTF-16 to a cross-process CB_GETLBTEXT even when asked
        // in ANSI; ask in UTF-16 and convert here.
        std::wstring w(std::size_t(n) + 1, L'\0');
        LRESULT got = send(h, CB_GETLBTEXT, WPARAM(i), LPARAM(&w[0]), describe());
        w.resize(std::size_t(std::max<LRESULT>(0, got)));
        return narrow(w);
    }
    constexpr std::size_t kChars = 512;
    if (isClass(h, WC_LISTVIEWA)) {
        Remote mem(h, sizeof(LVITEMW) + kChars * sizeof(wchar_t));
        LVITEMW it = {};
        it.iSubItem = 0;
        it.cchTextMax = int(kChars);
        it.pszText = reinterpret_cast<LPWSTR>(mem.at(sizeof(LVITEMW)));
        mem.write(0, &it, sizeof it);
        LRESULT n = send(h, LVM_GETITEMTEXTW, WPARAM(i), LPARAM(mem.at(0)), describe());
        std::wstring w(kChars, L'\0');
        mem.read(sizeof(LVITEMW), &w[0], kChars * sizeof(wchar_t));
        w.resize(std::size_t(std::max<LRESULT>(0, std::min<LRESULT>(n, kChars))));
        return narrow(w);
    }
    if (isClass(h, WC_TABCONTROLA)) {
        Remote mem(h, sizeof(TCITEMW) + kChars * sizeof(wchar_t));
        TCITEMW it = {};
        it.mask = TCIF_TEXT;
        it.cchTextMax = int(kChars);
        it.pszText = reinterpret_cast<LPWSTR>(mem.at(sizeof(TCITEMW)));
        mem.write(0, &it, sizeof it);
        if (!send(h, TCM_GETITEMW, WPARAM(i), LPARAM(mem.at(0)), describe()))
            throw Failure(describe() + ": no text for tab " + std::to_string(i));
        std::wstring w(kChars, L'\0');
        mem.read(sizeof(TCITEMW), &w[0], kChars * sizeof(wchar_t));
        w.resize(std::wcslen(w.c_str()));
        return narrow(w);
    }
    throw Failure(describe() + " has no entries (class " + className() + ")");
}

std::vector<std::string> Control::items() const {
    std::vector<std::string> v;
    for (int i = 0, n = count(); i < n; ++i) v.push_back(itemText(i));
    return v;
}

std::string Control::selectedText() const {
    int i = selectedIndex();
    return i < 0 ? std::string() : itemText(i);
}

void Control::click() {
    requireUsable("click");
    send(H(hwnd_), BM_CLICK, 0, 0, describe());
}

void Control::clickAsync() {
    requireUsable("click");
    if (!PostMessageW(H(hwnd_), BM_CLICK, 0, 0)) throw Failure("cannot post a click to " + describe());
}

void Control::pressKey(int vk) {
    requireUsable("press a key on");
    UINT scan = MapVirtualKeyW(UINT(vk), 0);
    LPARAM down = LPARAM(1 | (scan << 16));
    bool extended = vk >= VK_PRIOR_ && vk <= VK_DOWN_;
    if (extended) down |= LPARAM(1) << 24;
    LPARAM up = down | (LPARAM(1) << 30) | (LPARAM(1) << 31);
    send(H(hwnd_), WM_KEYDOWN, WPARAM(vk), down, describe());
    send(H(hwnd_), WM_KEYUP, WPARAM(vk), up, describe());
}

void Control::moveTo(int pos) {
    if (pos < rangeMin() || pos > rangeMax())
        throw Failure(describe() + ": position " + std::to_string(pos) + " is outside its range");
    for (int guard = 0; position() != pos; ++guard) {
        int before = position();
        pressKey(before < pos ? VK_RIGHT_ : VK_LEFT_);
        if (position() == before)
            throw Failure(describe() + " did not move from " + std::to_string(before) + " on an arrow key");
        if (guard > rangeMax() - rangeMin() + 2) throw Failure(describe() + " overshoots " + std::to_string(pos));
    }
}

void Control::choose(int index) {
    HWND h = H(hwnd_);
    if (index < 0 || index >= count())
        throw Failure(describe() + " has no entry " + std::to_string(index) + " (it has " + std::to_string(count()) +
                      ")");
    if (isClass(h, WC_TABCONTROLA)) {
        requireUsable("switch tabs on");
        send(h, TCM_SETCURFOCUS, WPARAM(index), 0, describe());
        if (!waitUntil([&] { return selectedIndex() == index; }, scaled(kStepTimeout)))
            throw Failure(describe() + " did not switch to tab " + std::to_string(index));
        return;
    }
    if (isClass(h, "ComboBox")) {
        // As a user with the keyboard: every step between is a choice too.
        if (selectedIndex() < 0) pressKey(VK_HOME_);
        for (int guard = 0; selectedIndex() != index; ++guard) {
            int before = selectedIndex();
            pressKey(before < index ? VK_DOWN_ : VK_UP_);
            if (selectedIndex() == before)
                throw Failure(describe() + " did not move from entry " + std::to_string(before) + " on an arrow key");
            if (guard > count() + 1) throw Failure(describe() + " overshoots entry " + std::to_string(index));
        }
        return;
    }
    if (isClass(h, WC_LISTVIEWA)) {
        requireUsable("select in");
        Remote mem(h, sizeof(LVITEMW));
        LVITEMW it = {};
        it.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        it.state = 0;
        mem.write(0, &it, sizeof it);
        send(h, LVM_SETITEMSTATE, WPARAM(-1), LPARAM(mem.at(0)), describe());
        it.state = LVIS_SELECTED | LVIS_FOCUSED;
        mem.write(0, &it, sizeof it);
        send(h, LVM_SETITEMSTATE, WPARAM(index), LPARAM(mem.at(0)), describe());
        return;
    }
    throw Failure(describe() + " has no entries to choose (class " + className() + ")");
}

void Control::choose(const std::string& text) {
    std::vector<std::string> all = items();
    auto it = std::find(all.begin(), all.end(), text);
    if (it == all.end()) throw Failure(describe() + " has no entry \"" + text + "\"");
    choose(int(it - all.begin()));
}

void Control::doubleClickItem(int index) {
    HWND h = H(hwnd_);
    if (!isClass(h, WC_LISTVIEWA)) throw Failure(describe() + " is not a list view");
    requireUsable("double-click");
    if (index < 0 || index >= count()) throw Failure(describe() + " has no entry " + std::to_string(index));
    send(h, LVM_ENSUREVISIBLE, WPARAM(index), FALSE, describe());
    Remote mem(h, sizeof(RECT));
    RECT r = {};
    r.left = LVIR_ICON;
    mem.write(0, &r, sizeof r);
    if (!send(h, LVM_GETITEMRECT, WPARAM(index), LPARAM(mem.at(0)), describe()))
        throw Failure(describe() + ": no rectangle for entry " + std::to_string(index));
    mem.read(0, &r, sizeof r);
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    // Posted: the list view tracks the mouse in a loop of its own, and the
    // double click may open a modal window.
    bool ok = PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at) && PostMessageW(h, WM_LBUTTONUP, 0, at) &&
              PostMessageW(h, WM_LBUTTONDBLCLK, MK_LBUTTON, at) && PostMessageW(h, WM_LBUTTONUP, 0, at);
    if (!ok) throw Failure("cannot post a double click to " + describe());
}

// ---------------------------------------------------------------- windows

std::vector<Control> Window::controls() const {
    std::vector<Control> v;
    for (HWND h : descendants(H(hwnd_))) v.emplace_back(h, qmName(h));
    return v;
}

std::optional<Control> Window::find(const std::string& name) const {
    for (HWND h : descendants(H(hwnd_)))
        if (qmName(h) == name) return Control(h, name);
    return std::nullopt;
}

Control Window::control(const std::string& name) const {
    if (auto c = find(name)) return *c;
    std::string known;
    for (const Control& c : controls())
        if (!c.name().empty()) known += (known.empty() ? "" : ", ") + c.name();
    throw Failure(name_ + " has no control \"" + name + "\" (it has: " + known + ")");
}

Control Window::control(const std::string& name, int index) const {
    return control(name + "(" + std::to_string(index) + ")");
}

std::optional<Control> Window::findByClassAndText(const std::string& cls, const std::string& text) const {
    for (HWND h : descendants(H(hwnd_)))
        if (isClass(h, cls.c_str()) && windowText(h, cls) == text) return Control(h, qmName(h));
    return std::nullopt;
}

void Window::closeFromFrame() {
    requireUsable("close");
    if (!PostMessageW(H(hwnd_), WM_SYSCOMMAND, SC_CLOSE, 0)) throw Failure("cannot close " + describe());
}

// ---------------------------------------------------------------- message boxes

const char* toString(Icon i) {
    switch (i) {
        case Icon::None: return "no icon";
        case Icon::Information: return "information";
        case Icon::Critical: return "critical stop";
        case Icon::Question: return "question";
        case Icon::Warning: return "warning";
        case Icon::Unrecognised: return "an unrecognised icon";
    }
    return "?";
}

namespace {
constexpr int kBoxText = 0xFFFF;
constexpr int kBoxIcon = 0x440;

bool isMessageBox(HWND h) {
    return isClass(h, "#32770") && IsWindowVisible(h) && qmName(h).empty() && GetDlgItem(h, kBoxText);
}
}  // namespace

std::string MsgBox::title() const { return captionOf(H(hwnd_)); }

std::string MsgBox::text() const {
    HWND t = GetDlgItem(H(hwnd_), kBoxText);
    if (!t) throw Failure("message box without its text");
    return windowText(t, "message box text");
}

Icon MsgBox::icon() const {
    HWND ic = GetDlgItem(H(hwnd_), kBoxIcon);
    // Wine keeps the icon control in a box without an icon, empty and under
    // the buttons; the handle is the program's, but whether there is one is
    // telling.
    if (!ic || !IsWindowVisible(ic) || !send(ic, STM_GETICON, 0, 0, "message box icon")) return Icon::None;
    // The box may not have painted yet: look until the pixels make sense.
    Icon seen = Icon::Unrecognised;
    waitUntil(
        [&] {
            seen = classify(ic);
            return seen != Icon::Unrecognised;
        },
        scaled(2000));
    return seen;
}

std::vector<int> MsgBox::buttons() const {
    std::vector<int> v;
    for (int id : {IDOK_, IDCANCEL_, IDYES_, IDNO_}) {
        HWND b = GetDlgItem(H(hwnd_), id);
        if (b && IsWindowVisible(b)) v.push_back(id);
    }
    return v;
}

bool MsgBox::open() const { return hwnd_ && IsWindow(H(hwnd_)) && IsWindowVisible(H(hwnd_)); }

void MsgBox::answer(int button) {
    HWND b = GetDlgItem(H(hwnd_), button);
    if (!b || !IsWindowVisible(b) || !IsWindowEnabled(b))
        throw Failure("the message box \"" + text() + "\" has no button " + std::to_string(button));
    if (!PostMessageW(b, BM_CLICK, 0, 0)) throw Failure("cannot press the message box's button");
    if (!waitUntil([&] { return !open(); }, scaled(kStepTimeout)))
        throw Failure("the message box \"" + text() + "\" stays open after its button was pressed");
}

// ---------------------------------------------------------------- the program

App::App() = default;

App::~App() {
    try {
        kill();
    } catch (...) {
    }
    if (job_) CloseHandle(job_);
}

std::string App::defaultExe() {
    const char* e = std::getenv("QM_EXE");
    std::string p = e ? e : "quillmere.exe";
    // A Unix path: Wine's drive Z: is the root.
    if (!p.empty() && p[0] == '/') {
        std::replace(p.begin(), p.end(), '/', '\\');
        p = "Z:" + p;
    }
    return p;
}

void App::start(const std::string& exeIn, const std::string& workDirIn) {
    if (running()) throw Failure("the program is already running");
    kill();
    std::string exe = exeIn.empty() ? defaultExe() : exeIn;
    std::string dir = workDirIn;
    if (dir.empty()) {
        std::size_t slash = exe.find_last_of('\\');
        if (slash != std::string::npos) dir = exe.substr(0, slash);
    }
    if (GetFileAttributesA(exe.c_str()) == INVALID_FILE_ATTRIBUTES)
        throw Failure("no program at " + exe + " (set QM_EXE)");

    if (!job_) {
        job_ = CreateJobObjectA(nullptr, nullptr);
        if (job_) {
            JOBOBJECT_EXTENDED_LIMIT_INFORMATION li = {};
            li.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
            SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &li, sizeof li);
        }
    }
    std::string cmd = "\"" + exe + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        dir.empty() ? nullptr : dir.c_str(), &si, &pi))
        throw Failure("cannot start " + exe + " (error " + std::to_string(GetLastError()) + ")");
    if (job_) AssignProcessToJobObject(job_, pi.hProcess);
    ResumeThread(pi.hThread);
    CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    pid_ = pi.dwProcessId;
}

bool App::running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

std::optional<Window> App::findForm(const std::string& nameOrCaption) const {
    if (!pid_) return std::nullopt;
    std::vector<HWND> all = topLevelWindows(pid_);
    for (HWND h : all)
        if (qmName(h) == nameOrCaption) return Window(h, nameOrCaption);
    for (HWND h : all)
        if (!isMessageBox(h) && captionOf(h) == nameOrCaption) return Window(h, qmName(h));
    return std::nullopt;
}

Window App::form(const std::string& nameOrCaption, int timeoutMs) const {
    std::optional<Window> w;
    bool ended = false;
    waitUntil(
        [&] {
            w = findForm(nameOrCaption);
            ended = !running();
            return ended || (w && w->visible());
        },
        timeoutMs);
    if (w && w->visible()) return *w;
    if (ended) {
        DWORD code = 0;
        if (process_) GetExitCodeProcess(process_, &code);
        throw Failure("the program ended (exit code " + hex(code) + ") before showing " + nameOrCaption);
    }
    std::string seen;
    for (HWND h : topLevelWindows(pid_)) {
        if (!IsWindowVisible(h)) continue;
        std::string n = qmName(h);
        seen += (seen.empty() ? "" : ", ") + (n.empty() ? classOf(h) : n) + " \"" + captionOf(h) + "\"";
    }
    throw Failure("no window " + nameOrCaption + " appeared (visible: " + (seen.empty() ? "none" : seen) + ")");
}

std::optional<MsgBox> App::findMessageBox() const {
    if (!pid_) return std::nullopt;
    for (HWND h : topLevelWindows(pid_))
        if (isMessageBox(h)) return MsgBox(h);
    return std::nullopt;
}

MsgBox App::messageBox(int timeoutMs) const {
    std::optional<MsgBox> b;
    if (waitUntil([&] { return (b = findMessageBox()).has_value() || !running(); }, timeoutMs) && b) return *b;
    throw Failure(running() ? "no message box appeared" : "the program ended without showing a message box");
}

unsigned App::waitForExit(int timeoutMs) {
    if (!process_) throw Failure("the program was not started");
    if (WaitForSingleObject(process_, DWORD(timeoutMs)) != WAIT_OBJECT_0) throw Failure("the program did not end");
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

void App::kill() {
    if (job_) TerminateJobObject(job_, 1);
    if (process_) {
        if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) TerminateProcess(process_, 1);
        WaitForSingleObject(process_, DWORD(scaled(kStepTimeout)));
        CloseHandle(process_);
        process_ = nullptr;
    }
}

std::vector<std::string> App::startedProcesses() const {
    std::vector<std::string> out;
    if (!job_) return out;
    // The list's array is declared with one entry; read the rest from the
    // raw buffer so the compiler cannot assume there is only one.
    constexpr DWORD kMax = 256;
    std::vector<unsigned char> buf(sizeof(JOBOBJECT_BASIC_PROCESS_ID_LIST) + kMax * sizeof(ULONG_PTR));
    JOBOBJECT_BASIC_PROCESS_ID_LIST head = {};
    head.NumberOfAssignedProcesses = kMax;
    std::memcpy(buf.data(), &head, sizeof head);
    if (!QueryInformationJobObject(job_, JobObjectBasicProcessIdList, buf.data(), DWORD(buf.size()), nullptr))
        return out;
    std::memcpy(&head, buf.data(), sizeof head);
    for (DWORD i = 0; i < head.NumberOfProcessIdsInList && i < kMax; ++i) {
        ULONG_PTR id = 0;
        std::memcpy(&id, buf.data() + offsetof(JOBOBJECT_BASIC_PROCESS_ID_LIST, ProcessIdList) + i * sizeof id,
                    sizeof id);
        DWORD pid = DWORD(id);
        if (pid == pid_) continue;
        HANDLE p = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
        if (!p) continue;
        std::string cmd = commandLineOf(p);
        if (cmd.empty()) {
            char path[MAX_PATH] = {0};
            if (GetModuleFileNameExA(p, nullptr, path, MAX_PATH)) cmd = path;
        }
        CloseHandle(p);
        if (!cmd.empty()) out.push_back(cmd);
    }
    return out;
}

}  // namespace e2e
