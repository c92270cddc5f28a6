/* The Control Panel item's start-up, linked in place of mingw-w64's
   dllcrt2.o for the reason the exe has its own (start.c). The host has
   started msvcrt.dll already. On attach the static constructors run, the
   exception tables' registration among them; on detach what they left to
   atexit(), from a list of the item's own: msvcrt's list would run them at
   the host's exit, after the item is unloaded. The FPU is the host's. */
#include <windows.h>
#include <stdlib.h>

void __main(void);

typedef void(__cdecl* exit_fn)(void);
static exit_fn* exits;
static int exit_count, exit_room;

int __cdecl atexit(exit_fn fn) {
    if (exit_count == exit_room) {
        int room = exit_room ? 2 * exit_room : 16;
        exit_fn* grown = (exit_fn*)realloc(exits, room * sizeof *grown);
        if (!grown) return -1;
        exits = grown;
        exit_room = room;
    }
    exits[exit_count++] = fn;
    return 0;
}

BOOL WINAPI DllMainCRTStartup(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        __main();
    } else if (reason == DLL_PROCESS_DETACH) {
        while (exit_count > 0) exits[--exit_count]();
        free(exits);
        exits = NULL;
        exit_room = 0;
    }
    return TRUE;
}
