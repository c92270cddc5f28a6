#include "Program.h"

#include "Files.h"
#include "Internal.h"
#include "Registry.h"

namespace e2e {

using namespace detail;

App::App() = default;

App::~App() {
    try {
        kill();
    } catch (...) {
    }
    if (job_) CloseHandle(job_);
}

std::string App::defaultExe() { return pathFromEnvironment("QM_EXE", "quillmere.exe"); }

std::string App::defaultApplet() { return pathFromEnvironment("QM_CPL", "quillmere.cpl"); }

void App::startApplet(const std::string& cplIn) {
    const std::string cpl = cplIn.empty() ? defaultApplet() : cplIn;
    if (GetFileAttributesA(cpl.c_str()) == INVALID_FILE_ATTRIBUTES)
        throw Failure("no Control Panel item at " + cpl + " (set QM_CPL)");
    launch(systemDir() + "\\control.exe", "\"" + cpl + "\"", std::string());
}

void App::start(const std::string& exeIn, const std::string& workDirIn) {
    std::string exe = exeIn.empty() ? defaultExe() : exeIn;
    if (GetFileAttributesA(exe.c_str()) == INVALID_FILE_ATTRIBUTES)
        throw Failure("no program at " + exe + " (set QM_EXE)");
    launch(exe, std::string(), workDirIn);
}

void App::launch(const std::string& exe, const std::string& arguments, const std::string& workDirIn) {
    if (running()) throw Failure("the program is already running");
    kill();
    std::string dir = workDirIn;
    if (dir.empty()) {
        std::size_t slash = exe.find_last_of('\\');
        if (slash != std::string::npos) dir = exe.substr(0, slash);
    }

    if (!job_) {
        job_ = CreateJobObjectA(nullptr, nullptr);
        if (job_) {
            JOBOBJECT_EXTENDED_LIMIT_INFORMATION li = {};
            li.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
            SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &li, sizeof li);
        }
    }
    std::string cmd = "\"" + exe + "\"";
    if (!arguments.empty()) cmd += " " + arguments;
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

// The program makes the pages not on show once its window is up, and says
// so with a property when every control exists. Other programs' windows
// (found by caption) are complete when shown.
static bool complete(const Window& w) {
    return qmName(H(w.hwnd())).empty() || GetPropA(H(w.hwnd()), "QmBuilt") != nullptr;
}

Window App::form(const std::string& nameOrCaption, int timeoutMs) const {
    std::optional<Window> w;
    bool ended = false;
    waitUntil(
        [&] {
            w = findForm(nameOrCaption);
            ended = !running();
            return ended || (w && w->visible() && complete(*w));
        },
        timeoutMs);
    if (w && w->visible() && complete(*w)) return *w;
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

Hwnd ownerOf(Hwnd h) { return GetWindow(H(h), GW_OWNER); }

std::string testProgram(const std::string& fileName) {
    char self[MAX_PATH] = {0};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string p = self;
    std::size_t slash = p.find_last_of("\\/");
    p = (slash == std::string::npos ? std::string() : p.substr(0, slash + 1)) + fileName;
    if (GetFileAttributesA(p.c_str()) == INVALID_FILE_ATTRIBUTES) throw Failure("no test program " + p);
    return p;
}

namespace {
const char* const kStartRecords = "Software\\QuillmereTest\\Started";
}

std::optional<StartRecord> startRecord(const std::string& fileName) {
    const std::string key = std::string(kStartRecords) + "\\" + lower(fileName);
    auto runs = reg::get(key, "Runs", reg::Root::CurrentUser);
    if (!runs || !runs->dword()) return std::nullopt;
    StartRecord r;
    r.runs = *runs->dword();
    if (auto c = reg::get(key, "Command", reg::Root::CurrentUser)) r.command = c->text();
    if (auto m = reg::get(key, "Module", reg::Root::CurrentUser)) r.module = m->text();
    return r;
}

void clearStartRecords() { reg::removeKey(kStartRecords, reg::Root::CurrentUser); }

unsigned runToEnd(const std::string& commandLine, int timeoutMs) {
    std::string line = commandLine;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        throw Failure("cannot run " + commandLine);
    CloseHandle(pi.hThread);
    const bool ended = WaitForSingleObject(pi.hProcess, DWORD(timeoutMs)) == WAIT_OBJECT_0;
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    if (!ended) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    if (!ended) throw Failure(commandLine + " did not end");
    return code;
}

}  // namespace e2e
