// quillmere.cpl: the program as a Control Panel item. Control Panel loads
// it into a process of its own (rundll32, or the shell), asks what it holds
// and, on a double click, has it run the main window there.
#include "app/Run.h"

#include <cpl.h>

#include "app/resource.h"

// The item's own module, wherever the host loaded it.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

HINSTANCE module() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

// The host's process manifest is not the program's: without the context of
// the item's own manifest (resource 2) its windows would get the old
// common controls and no visual styles. Windows 2000 has neither the
// functions nor the styles, so they are looked up.
class OwnActivationContext {
public:
    explicit OwnActivationContext(HINSTANCE module) {
        HMODULE kernel = GetModuleHandleA("kernel32.dll");
        if (!kernel) return;
        auto create = reinterpret_cast<HANDLE(WINAPI*)(const ACTCTXA*)>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "CreateActCtxA")));
        auto activate = reinterpret_cast<BOOL(WINAPI*)(HANDLE, ULONG_PTR*)>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "ActivateActCtx")));
        deactivate_ = reinterpret_cast<BOOL(WINAPI*)(DWORD, ULONG_PTR)>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "DeactivateActCtx")));
        release_ = reinterpret_cast<void(WINAPI*)(HANDLE)>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "ReleaseActCtx")));
        if (!create || !activate || !deactivate_ || !release_) return;

        char path[MAX_PATH];
        if (!GetModuleFileNameA(module, path, MAX_PATH)) return;
        ACTCTXA ctx = {};
        ctx.cbSize = sizeof ctx;
        ctx.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
        ctx.lpSource = path;
        ctx.hModule = module;
        ctx.lpResourceName = ISOLATIONAWARE_MANIFEST_RESOURCE_ID;
        HANDLE h = create(&ctx);
        if (h == INVALID_HANDLE_VALUE) return;
        if (!activate(h, &cookie_)) {
            release_(h);
            return;
        }
        context_ = h;
    }
    ~OwnActivationContext() {
        if (!context_) return;
        deactivate_(0, cookie_);
        release_(context_);
    }
    OwnActivationContext(const OwnActivationContext&) = delete;
    OwnActivationContext& operator=(const OwnActivationContext&) = delete;

private:
    HANDLE context_ = nullptr;
    ULONG_PTR cookie_ = 0;
    BOOL(WINAPI* deactivate_)(DWORD, ULONG_PTR) = nullptr;
    void(WINAPI* release_)(HANDLE) = nullptr;
};

}  // namespace

extern "C" __declspec(dllexport) LONG APIENTRY CPlApplet(HWND, UINT message, LPARAM, LPARAM param2) {
    switch (message) {
        case CPL_INIT:
            return TRUE;
        case CPL_GETCOUNT:
            return 1;
        case CPL_INQUIRE: {
            CPLINFO* info = reinterpret_cast<CPLINFO*>(param2);
            info->idIcon = IDI_QUILLMERE;
            info->idName = IDS_APPLET_NAME;
            info->idInfo = IDS_APPLET_INFO;
            info->lData = 0;
            return 0;
        }
        case CPL_NEWINQUIRE:
            // Not answered: the shell takes the resources named above.
            return 1;
        case CPL_DBLCLK: {
            // Returns when the main window has ended, as the exe would.
            OwnActivationContext styles(module());
            app::run(module(), SW_SHOWNORMAL);
            return 0;
        }
        default:
            return 0;
    }
}
