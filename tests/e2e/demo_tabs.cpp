// Shows the main window's tabs one after another, so that the demo can take
// a screenshot of each:  qm_demo_tabs <quillmere.exe> <folder>
// For tab i it writes <folder>\tab<i>.ready holding the tab's caption and
// goes on once <folder>\tab<i>.done exists; at the end it closes the
// program and writes <folder>\finished.
#include <windows.h>

#include <cstdio>
#include <string>

#include "Driver.h"

namespace {

bool fileExists(const std::string& p) { return GetFileAttributesA(p.c_str()) != INVALID_FILE_ATTRIBUTES; }

void writeFile(const std::string& p, const std::string& text) {
    std::string tmp = p + ".tmp";
    FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) throw e2e::Failure("cannot write " + tmp);
    std::fputs(text.c_str(), f);
    std::fclose(f);
    // Renamed into place, so the reader never sees half a file.
    if (!MoveFileExA(tmp.c_str(), p.c_str(), MOVEFILE_REPLACE_EXISTING)) throw e2e::Failure("cannot write " + p);
}

// Lets the program paint the new page and Wine put it on the screen.
void settle(HWND top) {
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    DWORD_PTR r = 0;
    SendMessageTimeoutW(top, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &r);
    Sleep(500);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: qm_demo_tabs <quillmere.exe> <folder>\n");
        return 2;
    }
    const std::string folder = argv[2];
    try {
        e2e::App app;
        app.start(argv[1]);
        e2e::Window main = app.form("frmMain");
        e2e::Control tabs = main.control("SSTab1");
        const int n = tabs.count();
        for (int i = 0; i < n; ++i) {
            tabs.choose(i);
            settle(static_cast<HWND>(main.hwnd()));
            const std::string base = folder + "\\tab" + std::to_string(i);
            writeFile(base + ".ready", tabs.itemText(i));
            std::printf("tab %d: %s\n", i, tabs.itemText(i).c_str());
            std::fflush(stdout);
            if (!e2e::waitUntil([&] { return fileExists(base + ".done"); }, 60000))
                throw e2e::Failure("no screenshot of tab " + std::to_string(i) + " was taken");
        }
        main.closeFromFrame();
        app.waitForExit();
        writeFile(folder + "\\finished", std::to_string(n));
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qm_demo_tabs: %s\n", e.what());
        return 1;
    }
}
