// What every part of the driver stands on: the one failure it throws,
// windows' handles without <windows.h>, and waiting with a timeout.
#pragma once
#include <functional>
#include <stdexcept>

namespace e2e {

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

using Hwnd = void*;

// Timeouts in milliseconds, multiplied by QM_E2E_TIMEOUT_SCALE when set
// (a slow machine).
int scaled(int ms);
constexpr int kStartTimeout = 30000;  // a window of a freshly started program
constexpr int kStepTimeout = 5000;    // one reaction of a running program

// Polls `done` until it holds or the time is up; true when it held.
bool waitUntil(const std::function<bool()>& done, int timeoutMs);

class Window;
// Waits until the program's user-interface thread is back in its message
// loop, or waiting in a message box of its own: only there does it answer a
// sent message. For a handler that goes on after its message box closed.
void waitUntilIdle(const Window& w);

}  // namespace e2e
