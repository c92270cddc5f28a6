# mingw-w64 cross builds, for one processor and thread model:
#   QM_CPU      i686 (the product for XP, its test driver) or x86_64 (the
#               stand-in and its driver, where 32-bit code cannot run)
#   QM_THREADS  win32 (the product: msvcrt.dll only) or posix (the test
#               driver: GoogleTest needs std::mutex, which win32 lacks)
set(QM_CPU i686 CACHE STRING "i686 or x86_64")
set(QM_THREADS win32 CACHE STRING "win32 or posix")
# The compiler checks' own projects read this file again.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QM_CPU QM_THREADS)

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${QM_CPU})
set(CMAKE_C_COMPILER ${QM_CPU}-w64-mingw32-gcc-${QM_THREADS})
set(CMAKE_CXX_COMPILER ${QM_CPU}-w64-mingw32-g++-${QM_THREADS})
set(CMAKE_RC_COMPILER ${QM_CPU}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QM_CPU}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
