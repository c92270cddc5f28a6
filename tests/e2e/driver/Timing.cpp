#include "Timing.h"

#include <cstdlib>

#include "Controls.h"
#include "Internal.h"

namespace e2e {

using namespace detail;

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

void waitUntilIdle(const Window& w) { send(H(w.hwnd()), WM_NULL, 0, 0, "the program (busy)"); }

}  // namespace e2e
