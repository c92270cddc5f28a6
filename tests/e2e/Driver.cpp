#include "Driver.h"
#include "driver/Internal.h"

#include <functional>

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

using namespace detail;

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
}  // namespace

bool detail::isMessageBox(HWND h) {
    return isClass(h, "#32770") && IsWindowVisible(h) && qmName(h).empty() && GetDlgItem(h, kBoxText);
}

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

}  // namespace e2e

// ---------------------------------------------------------------- message boxes of the program

namespace e2e {

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

}  // namespace e2e

// ---------------------------------------------------------------- layout, keys, resources

namespace e2e {

namespace {

// Wine keeps a process's GDI objects in a table its PEB points to, laid out
// as 65536 entries of 24 bytes with the object's type in byte 14 (the
// same in 32 and 64 bits; only the PEB's field moves).
#ifdef _WIN64
constexpr std::size_t kPebGdiTable = 0xf8;
#else
constexpr std::size_t kPebGdiTable = 0x94;
#endif
long gdiObjectsFromTable(HANDLE proc) {
    using NtQip = LONG(WINAPI*)(HANDLE, int, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<NtQip>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    if (!query) return -1;
    struct {
        PVOID reserved1;
        PVOID peb;
        PVOID reserved2[2];
        ULONG_PTR pid;
        PVOID reserved3;
    } pbi = {};
    if (query(proc, 0, &pbi, sizeof pbi, nullptr) != 0 || !pbi.peb) return -1;
    PVOID table = nullptr;
    if (!ReadProcessMemory(proc, static_cast<char*>(pbi.peb) + kPebGdiTable, &table, sizeof table, nullptr) || !table)
        return -1;
    constexpr std::size_t kEntry = 24, kEntries = 0x10000, kChunk = 4096;
    std::vector<unsigned char> buf(kChunk * kEntry);
    long n = 0;
    for (std::size_t first = 0; first < kEntries; first += kChunk) {
        SIZE_T got = 0;
        if (!ReadProcessMemory(proc, static_cast<char*>(table) + first * kEntry, buf.data(), buf.size(), &got) ||
            got != buf.size())
            return first == 0 ? -1 : n;
        for (std::size_t i = 0; i < kChunk; ++i)
            if (buf[i * kEntry + 14]) ++n;
    }
    return n;
}

long handlesFromSystemList(DWORD pid) {
    using NtQsi = LONG(WINAPI*)(int, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<NtQsi>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return -1;
    struct Entry {
        ULONG owner;  // the process id (its low word on Windows)
        UCHAR type, flags;
        USHORT handle;
        PVOID object;
        ULONG access;
    };
    std::vector<unsigned char> buf(1 << 18);
    for (int tries = 0; tries < 8; ++tries) {
        ULONG need = 0;
        const LONG st = query(16 /* SystemHandleInformation */, buf.data(), ULONG(buf.size()), &need);
        if (st == LONG(0xC0000004)) {  // too small
            buf.resize(std::max<std::size_t>(buf.size() * 2, need + 4096));
            continue;
        }
        if (st != 0) return -1;
        ULONG count = 0;
        std::memcpy(&count, buf.data(), sizeof count);
        long n = 0;
        for (ULONG i = 0; i < count && 4 + (i + 1) * sizeof(Entry) <= buf.size(); ++i) {
            Entry e;
            std::memcpy(&e, buf.data() + 4 + i * sizeof(Entry), sizeof e);
            if ((e.owner & 0xFFFF) == (pid & 0xFFFF)) ++n;
        }
        return n;
    }
    return -1;
}

}  // namespace

Resources resourcesOf(const App& app) {
    Resources r;
    const DWORD pid = app.pid();
    HANDLE proc = pid ? OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid) : nullptr;
    if (!proc) throw Failure("cannot look into the program (error " + std::to_string(GetLastError()) + ")");
    for (HWND h : topLevelWindows(pid)) r.windows += 1 + long(descendants(h).size());

    r.gdiObjects = long(GetGuiResources(proc, GR_GDIOBJECTS));
    r.userObjects = long(GetGuiResources(proc, GR_USEROBJECTS));
    DWORD handles = 0;
    if (GetProcessHandleCount(proc, &handles)) r.handles = long(handles);
    std::string how;
    if (r.gdiObjects <= 0) {
        r.gdiObjects = gdiObjectsFromTable(proc);
        how += "GDI objects from the process's handle table";
    }
    if (r.userObjects <= 0) {
        r.userObjects = r.windows;
        how += std::string(how.empty() ? "" : ", ") + "USER objects as windows";
    }
    if (r.handles <= 0) {
        r.handles = handlesFromSystemList(pid);
        how += std::string(how.empty() ? "" : ", ") + "handles from the system's list";
    }
    PROCESS_MEMORY_COUNTERS mc;
    std::memset(&mc, 0, sizeof mc);
    mc.cb = sizeof mc;
    if (GetProcessMemoryInfo(proc, &mc, sizeof mc)) r.privateBytes = mc.PagefileUsage;
    CloseHandle(proc);
    r.how = how.empty() ? "as the system counts them" : how;
    return r;
}

bool globalAtomExists(const std::string& name) { return GlobalFindAtomA(name.c_str()) != 0; }

const std::vector<std::string>& dialogForms() {
    static const std::vector<std::string> forms = {"frmEQ",   "frmReset",    "frmWPCRSET", "frmDrvVer",
                                                   "frmAbout", "frmAboutA3D", "frmQuad",    "frmAC97Mixer"};
    return forms;
}

Window openDialog(const App& app, const Window& main, const std::string& form) {
    constexpr int kGeneral = 0, kA3D = 2, kDigital = 4;
    struct Opening {
        const char* form;
        int tab;  // -1: a button below the tabs
        const char* button;
    } const openings[] = {
        {"frmEQ", kDigital, "cmdEQSettings"}, {"frmReset", -1, "cmdReset"},
        {"frmWPCRSET", kGeneral, "cmdWPCRSET"}, {"frmDrvVer", kA3D, "cmdDrvVerHlp"},
        {"frmAbout", -1, "cmdAbout"},          {"frmAboutA3D", kA3D, "cmdAboutA3D"},
        {"frmQuad", kA3D, "cmdQuad"},          {"frmAC97Mixer", kGeneral, "ListView1"},
    };
    for (const Opening& o : openings) {
        if (form != o.form) continue;
        if (o.tab >= 0) main.control("SSTab1").choose(o.tab);
        if (form == "frmAC97Mixer") {
            main.control(o.button).doubleClickItem(3);
        } else if (form == "frmQuad") {
            main.control(o.button).clickAsync();
            app.messageBox().answer(IDYES_);
            app.messageBox().answer(IDOK_);
        } else {
            main.control(o.button).click();
        }
        return app.form(form, scaled(kStepTimeout));
    }
    throw Failure("the main window opens no dialog " + form);
}

}  // namespace e2e
