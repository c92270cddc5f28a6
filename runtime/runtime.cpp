// Two parts of libstdc++ the program supplies itself: its prebuilt copies
// use the Pentium Pro's CMOV, and the exception globals reach them through
// emulated thread-local storage, which does as well.
#include <cstdlib>
#include <new>

// The program never sets a new-handler, so there is nothing to retry.
void* operator new(std::size_t n) {
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}

// The caught-exception stack and uncaught count. The program has one
// thread, so one set serves; the layout is the C++ ABI's __cxa_eh_globals.
namespace {
struct EhGlobals {
    void* caughtExceptions;
    unsigned int uncaughtExceptions;
} g_ehGlobals;
}  // namespace

extern "C" void* __cxa_get_globals_fast() noexcept { return &g_ehGlobals; }
extern "C" void* __cxa_get_globals() noexcept { return &g_ehGlobals; }
