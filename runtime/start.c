/* The program's own start-up, linked in place of mingw-w64's crt2.o, whose
   prebuilt code (and the relocation and TLS support it pulls in) uses the
   Pentium Pro's CMOV. A program with one thread and no pseudo-relocations
   (the link refuses them) needs little of it: msvcrt.dll starts itself when
   it loads; here the static constructors run, the exception tables'
   registration among them, then WinMain, and exit() runs what atexit()
   collected. */
#include <windows.h>
#include <stdlib.h>

void __main(void);
void __cdecl __set_app_type(int);
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int);

int __cdecl atexit(void(__cdecl* fn)(void)) { return _onexit((_onexit_t)fn) ? 0 : -1; }

void WinMainCRTStartup(void) {
    /* A GUI program: msvcrt reports its own fatal errors in a message box. */
    __set_app_type(2);
    /* The FPU as mingw-w64's start-up leaves it (64-bit precision). */
    __asm__ __volatile__("fninit");
    __main();

    /* WinMain's command line: what follows the program's name. */
    char* cmd = GetCommandLineA();
    if (*cmd == '"') {
        for (++cmd; *cmd && *cmd != '"'; ++cmd) {
        }
        if (*cmd) ++cmd;
    } else {
        while ((unsigned char)*cmd > ' ') ++cmd;
    }
    while (*cmd == ' ' || *cmd == '\t') ++cmd;

    STARTUPINFOA si;
    si.cb = sizeof si;
    GetStartupInfoA(&si);
    int show = (si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : SW_SHOWDEFAULT;
    exit(WinMain(GetModuleHandleA(NULL), NULL, cmd, show));
}
