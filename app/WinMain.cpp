// quillmere.exe: the program as a program of its own.
#include "app/Run.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) { return app::run(instance, showCommand); }
