// Start-up timer, run inside the same Wine as the programs it measures.
//
//   qm_startbench.exe [--runs N] [--timeout SECONDS] QUILLMERE.EXE BASELINE.EXE
//
// Starts the two programs in turn, one warm-up each and then N pairs, and
// times each from just before CreateProcess until it is shown, loaded and
// answering: the baseline when a top-level window of its process is visible
// and answers a request for its text; Quillmere when its main window is
// visible and answers with the last text its load fills (the driver size
// box, or the driver version box when no driver file lies where the
// program measures it). Then it closes the
// program and waits for its end before the next start, so no two overlap.
// Prints every run, the medians, minima and maxima, and the median of the
// per-pair ratios. Exits non-zero when a run fails.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr DWORD kPollMs = 1;

double g_ticksPerMs = 0;

double nowMs() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / g_ticksPerMs;
}

// The name the program gave a window: a global atom in its "QmName" property.
std::string qmName(HWND h) {
    const ATOM a = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropA(h, "QmName")));
    if (!a) return std::string();
    char b[128] = {0};
    if (!GlobalGetAtomNameA(a, b, sizeof b)) return std::string();
    return b;
}

// WM_GETTEXT, bounded: a program that stops answering fails the run instead
// of hanging the timer.
bool textOf(HWND h, std::string& out) {
    char b[256] = {0};
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutA(h, WM_GETTEXT, sizeof b, reinterpret_cast<LPARAM>(b), SMTO_ABORTIFHUNG, 2000, &got))
        return false;
    out.assign(b, std::min<std::size_t>(got, sizeof b - 1));
    return true;
}

struct Search {
    DWORD pid;
    HWND visible = nullptr;  // a visible top-level window of the process
    HWND main = nullptr;     // Quillmere's main window, visible
    HWND box = nullptr;      // a message box of the process
};

BOOL CALLBACK topLevel(HWND h, LPARAM p) {
    auto* s = reinterpret_cast<Search*>(p);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid != s->pid || !IsWindowVisible(h)) return TRUE;
    if (!s->visible) s->visible = h;
    char cls[16] = {0};
    GetClassNameA(h, cls, sizeof cls);
    if (std::strcmp(cls, "#32770") == 0) s->box = h;
    if (!s->main && qmName(h) == "frmMain") s->main = h;
    return TRUE;
}

struct Named {
    const char* name;
    HWND found = nullptr;
};

BOOL CALLBACK child(HWND h, LPARAM p) {
    auto* n = reinterpret_cast<Named*>(p);
    if (qmName(h) == n->name) {
        n->found = h;
        return FALSE;
    }
    return TRUE;
}

HWND childNamed(HWND parent, const char* name) {
    Named n{name, nullptr};
    EnumChildWindows(parent, child, reinterpret_cast<LPARAM>(&n));
    return n.found;
}

std::string folderOf(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string(".") : path.substr(0, cut);
}

bool fileExists(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

struct Program {
    std::string label, path;
    bool quillmere;
    bool sizeExpected = false;  // the program will find its driver file
    std::vector<double> ms;
};

// Is the program shown and loaded? Sets `why` when it can no longer be.
// `box` keeps the text box found on an earlier poll: the timer shares the
// machine with the program it times, so each poll should cost it little.
bool ready(const Program& p, const Search& s, HWND& box, std::string& why) {
    if (s.box) {
        std::string text;
        HWND t = GetDlgItem(s.box, 0xFFFF);
        if (t) textOf(t, text);
        why = "a message box appeared: " + text;
        return false;
    }
    std::string text;
    // Both must also answer: reading a text is a message the program's own
    // thread handles, so a window still busy starting does not count.
    if (!p.quillmere) return s.visible && textOf(s.visible, text);
    if (!s.main) return false;
    if (!box || GetParent(box) != s.main) box = childNamed(s.main, p.sizeExpected ? "txtADMSize" : "txtDrvVer");
    if (!box || !textOf(box, text)) return false;
    return p.sizeExpected ? !text.empty() : text != "NA";
}

void endProcess(const PROCESS_INFORMATION& pi, HWND window) {
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    if (!window || WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(pi.hProcess, 1);
        WaitForSingleObject(pi.hProcess, 10000);
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

// One start; the milliseconds until ready, or a negative number on failure.
double runOnce(const Program& p, double timeoutMs) {
    std::string cmd = "\"" + p.path + "\"";
    std::vector<char> line(cmd.begin(), cmd.end());
    line.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    const double t0 = nowMs();
    if (!CreateProcessA(p.path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::fprintf(stderr, "%s: cannot start %s (error %lu)\n", p.label.c_str(), p.path.c_str(), GetLastError());
        return -1;
    }
    std::string why;
    HWND box = nullptr;
    for (;;) {
        Search s{pi.dwProcessId};
        EnumWindows(topLevel, reinterpret_cast<LPARAM>(&s));
        if (ready(p, s, box, why)) {
            const double t = nowMs() - t0;
            endProcess(pi, p.quillmere ? s.main : s.visible);
            return t;
        }
        if (!why.empty() || WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) {
            if (why.empty()) why = "it ended before it was ready";
            break;
        }
        if (nowMs() - t0 > timeoutMs) {
            why = "not ready after " + std::to_string(static_cast<int>(timeoutMs / 1000)) + " s";
            break;
        }
        Sleep(kPollMs);
    }
    std::fprintf(stderr, "%s: %s\n", p.label.c_str(), why.c_str());
    endProcess(pi, nullptr);
    return -1;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void summary(const Program& p) {
    const auto mm = std::minmax_element(p.ms.begin(), p.ms.end());
    std::printf("%-14s median %7.1f ms   min %7.1f   max %7.1f   (%u runs)\n", p.label.c_str(), median(p.ms), *mm.first,
                *mm.second, static_cast<unsigned>(p.ms.size()));
}

int usage() {
    std::fprintf(stderr, "usage: qm_startbench [--runs N] [--timeout SECONDS] QUILLMERE.EXE BASELINE.EXE\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 10;
    double timeoutMs = 30000;
    std::vector<std::string> exes;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--runs" && i + 1 < argc) {
            runs = std::atoi(argv[++i]);
        } else if (a == "--timeout" && i + 1 < argc) {
            timeoutMs = std::atof(argv[++i]) * 1000;
        } else if (!a.empty() && a[0] == '-') {
            return usage();
        } else {
            exes.push_back(a);
        }
    }
    if (exes.size() != 2 || runs < 1 || timeoutMs <= 0) return usage();

    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    g_ticksPerMs = static_cast<double>(f.QuadPart) / 1000.0;

    Program q{"quillmere.exe", exes[0], true, false, {}};
    Program b{"baseline.exe", exes[1], false, false, {}};
    // The program measures its driver file in its own folder.
    q.sizeExpected = fileExists(folderOf(q.path) + "\\system32\\drivers\\adm8830.sys");
    std::printf("quillmere.exe ready when %s\n",
                q.sizeExpected ? "txtADMSize has text" : "txtDrvVer no longer reads NA (no driver file to size)");

    // Warm-up: the first start of each pays for cold caches.
    for (Program* p : {&q, &b})
        if (runOnce(*p, timeoutMs) < 0) return 1;

    std::vector<double> ratios;
    for (int i = 0; i < runs; ++i) {
        const double tq = runOnce(q, timeoutMs);
        if (tq < 0) return 1;
        const double tb = runOnce(b, timeoutMs);
        if (tb < 0) return 1;
        q.ms.push_back(tq);
        b.ms.push_back(tb);
        ratios.push_back(tq / tb);
        std::printf("pair %2d: quillmere %7.1f ms, baseline %7.1f ms, ratio %.3f\n", i + 1, tq, tb, tq / tb);
        std::fflush(stdout);
    }
    summary(q);
    summary(b);
    const auto mm = std::minmax_element(ratios.begin(), ratios.end());
    std::printf("ratio          median %7.3f      min %7.3f   max %7.3f   (goal <= 1.15)\n", median(ratios), *mm.first,
                *mm.second);
    // The fastest start of each is the least disturbed by whatever else
    // the machine was doing.
    std::printf("ratio of the fastest starts    %7.3f\n",
                *std::min_element(q.ms.begin(), q.ms.end()) / *std::min_element(b.ms.begin(), b.ms.end()));
    return 0;
}
