// Takes a picture of every window for the demo and the README: each tab of
// the main window, then each dialog, opened the way a user opens it.
//   qm_demo_tabs <quillmere.exe> <folder>
// Writes <folder>\NN-<name>.bmp for each, and one line "NN-<name> <caption>"
// per picture to stdout. Exits non-zero when a window could not be shown.
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <string>

#include "Driver.h"

namespace {

std::string slug(const std::string& s) {
    std::string out;
    for (char ch : s) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (std::isalnum(c)) out += static_cast<char>(std::tolower(c));
        else if (!out.empty() && out.back() != '-') out += '-';
    }
    while (!out.empty() && out.back() == '-') out.pop_back();
    return out;
}

// Lets the program paint and Wine put it on the screen.
void settle(const e2e::Window& w) {
    HWND top = static_cast<HWND>(w.hwnd());
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    DWORD_PTR r = 0;
    SendMessageTimeoutW(top, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &r);
    Sleep(300);
}

int g_count = 0;
std::string g_folder;

void take(const e2e::Window& w, const std::string& name, bool toFront = true) {
    if (toFront) e2e::bringToFront(w);
    settle(w);
    char number[8];
    std::snprintf(number, sizeof number, "%02d", ++g_count);
    const std::string base = std::string(number) + "-" + name;
    e2e::saveScreenshot(w, g_folder + "\\" + base + ".bmp");
    std::printf("%s %s\n", base.c_str(), w.text().c_str());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: qm_demo_tabs <quillmere.exe or .cpl> <folder>\n");
        return 2;
    }
    g_folder = argv[2];
    try {
        e2e::App app;
        // A Control Panel item opens as Control Panel opens it.
        const std::string program = argv[1];
        if (program.size() > 4 && program.compare(program.size() - 4, 4, ".cpl") == 0) app.startApplet(program);
        else app.start(program);
        e2e::Window main = app.form("frmMain");
        e2e::Control tabs = main.control("SSTab1");
        for (int i = 0; i < tabs.count(); ++i) {
            tabs.choose(i);
            take(main, "main-" + slug(tabs.itemText(i)));
        }
        for (const std::string& form : e2e::dialogForms()) {
            e2e::Window dlg = e2e::openDialog(app, main, form);
            take(dlg, slug(form.substr(3)));
            dlg.closeFromFrame();
            if (!e2e::waitUntil([&] { return main.usable(); }, 10000))
                throw e2e::Failure(form + " did not give the main window back");
        }
        main.control("SSTab1").choose(0);
        // The system menu open over the window: where back up and restore are.
        e2e::bringToFront(main);
        e2e::openSystemMenu(app, main);
        take(main, "system-menu", false);
        e2e::closeOpenMenus(app);
        main.closeFromFrame();
        app.waitForExit();
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qm_demo_tabs: %s\n", e.what());
        return 1;
    }
}
