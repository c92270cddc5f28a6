#include "Resources.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "Internal.h"
#include <psapi.h>

namespace e2e {

using namespace detail;

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
    PVOID peb = pebOf(proc);
    if (!peb) return -1;
    PVOID table = nullptr;
    if (!ReadProcessMemory(proc, static_cast<char*>(peb) + kPebGdiTable, &table, sizeof table, nullptr) || !table)
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

}  // namespace e2e
