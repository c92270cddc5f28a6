enable_language(RC)
# Built for x86_64 this is the stand-in: the same program for the
# end-to-end tests on a machine that cannot run 32-bit code (64-bit Wine
# only). It is never shipped, so it keeps the toolchain's own start-up and
# runtime and none of the XP exe's size and processor measures.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(QM_STANDIN ON)
else()
  set(QM_STANDIN OFF)
  # XP runs on CPUs without SSE and, on the Pentium MMX and the AMD K6, without
  # the Pentium Pro's CMOV, FCOMI and FCMOV: x87 code for the Pentium MMX only.
  set(QM_CPU_FLAGS -march=pentium-mmx -mfpmath=387)
  set(QM_STACK_FLAGS -mpreferred-stack-boundary=2)
endif()
# XP: the headers must not declare Vista's functions or grow its structures.
set(QM_XP_DEFS _WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600 NOMINMAX WIN32_LEAN_AND_MEAN)

file(GLOB QM_WIN32_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/platform/win32/*.cpp ${CMAKE_SOURCE_DIR}/ui/win32/*.cpp ${CMAKE_SOURCE_DIR}/app/*.cpp)

# No RTTI: nothing in the program uses dynamic_cast or typeid (exceptions
# keep the type information they need).
# -Oz: a control panel's few dialogs gain nothing from speed, every byte
# counts. The program has one thread, so function statics need no locks;
# with x87 code only nothing wants a 16-byte aligned stack.
set(QM_PRODUCT_OPTIONS -Wall -Wextra -Oz -ffunction-sections -fdata-sections -fno-rtti
  -fno-threadsafe-statics ${QM_STACK_FLAGS} ${QM_CPU_FLAGS})

# Header versions 5.0: Windows 2000, where this driver family also runs,
# refuses anything higher, and the program's warning about it is meant to be
# seen there. Not 4.0: Windows 98 and ME would try it, and nothing checks
# what their system DLLs lack.
set(QM_LINK_FLAGS -static -s -mwindows
  -Wl,--major-subsystem-version,5,--minor-subsystem-version,0,--major-os-version,5,--minor-os-version,0)

if(NOT QM_STANDIN)
  add_subdirectory(runtime)
endif()
# qm_product_link(<target> <file name> <XP runtime target>): the linker map
# beside each, <file name>.map, lets the XP load check name the function of
# any instruction it refuses.
function(qm_product_link target file runtime)
  if(QM_STANDIN)
    target_link_options(${target} PRIVATE -static -s -mwindows)
    return()
  endif()
  target_link_libraries(${target} PRIVATE ${runtime})
  target_link_options(${target} PRIVATE ${QM_LINK_FLAGS} -Wl,-Map=${CMAKE_BINARY_DIR}/${file}.map)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${QM_XP_START_FILES})
endfunction()

configure_file(${CMAKE_SOURCE_DIR}/app/version.h.in ${CMAKE_BINARY_DIR}/generated/qm_version.h @ONLY)

# The in-memory registry is for tests; the linker keeps every function that
# has unwind data (the PE script keeps all of .eh_frame), so leave it out
# rather than count on --gc-sections.
set(QM_PRODUCT_SOURCES ${QM_LOGIC_SOURCES})
list(FILTER QM_PRODUCT_SOURCES EXCLUDE REGEX "/platform/memory/")
# The program once, for quillmere.exe and quillmere.cpl alike: only their
# entry points (app/WinMain.cpp, app/Applet.cpp) differ.
list(FILTER QM_WIN32_SOURCES EXCLUDE REGEX "/app/(WinMain|Applet)\\.cpp$")
add_library(qm_program OBJECT ${QM_PRODUCT_SOURCES} ${QM_WIN32_SOURCES})
add_executable(quillmere WIN32 ${CMAKE_SOURCE_DIR}/app/WinMain.cpp ${CMAKE_SOURCE_DIR}/app/quillmere.rc)
add_library(quillmere_cpl SHARED ${CMAKE_SOURCE_DIR}/app/Applet.cpp ${CMAKE_SOURCE_DIR}/app/quillmere.rc)
foreach(t qm_program quillmere quillmere_cpl)
  target_include_directories(${t} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
  target_compile_definitions(${t} PRIVATE ${QM_XP_DEFS})
  target_compile_options(${t} PRIVATE ${QM_PRODUCT_OPTIONS})
endforeach()
foreach(t quillmere quillmere_cpl)
  target_sources(${t} PRIVATE $<TARGET_OBJECTS:qm_program>)
  target_link_options(${t} PRIVATE -Wl,--gc-sections)
  target_link_libraries(${t} PRIVATE comctl32 comdlg32 version shell32 gdi32 user32 advapi32 kernel32)
endforeach()
# The icon is drawn at build time; no binary file lives in the tree.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(QM_ICON ${CMAKE_BINARY_DIR}/generated/quillmere.ico)
add_custom_command(OUTPUT ${QM_ICON}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/make_icon.py ${QM_ICON}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_icon.py
  COMMENT "Drawing the program icon" VERBATIM)
add_custom_target(qm_icon DEPENDS ${QM_ICON})
add_dependencies(quillmere qm_icon)
add_dependencies(quillmere_cpl qm_icon)
set_source_files_properties(${CMAKE_SOURCE_DIR}/app/quillmere.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/app/quillmere.manifest;${CMAKE_SOURCE_DIR}/app/resource.h;${QM_ICON};${CMAKE_BINARY_DIR}/generated/qm_version.h")
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_BINARY_DIR}/generated -I${CMAKE_SOURCE_DIR}/app")

# No relocations: XP has no ASLR and always loads an exe at its own base.
target_link_options(quillmere PRIVATE -Wl,--disable-reloc-section)
qm_product_link(quillmere quillmere qm_xp_runtime)
set_target_properties(quillmere PROPERTIES OUTPUT_NAME quillmere SUFFIX ".exe")

# The Control Panel item keeps its relocations: a DLL goes wherever its
# host has room. No ASLR mark, as the exe has none; CPlApplet exported
# without its stdcall decoration, the name Control Panel asks for.
target_compile_definitions(quillmere_cpl PRIVATE $<$<COMPILE_LANGUAGE:RC>:QM_APPLET>)
target_link_options(quillmere_cpl PRIVATE -Wl,--kill-at -Wl,--disable-dynamicbase)
qm_product_link(quillmere_cpl quillmere.cpl qm_xp_runtime)
set_target_properties(quillmere_cpl PROPERTIES OUTPUT_NAME quillmere PREFIX "" SUFFIX ".cpl")

# One translation unit: the PE linker merges neither the string literals
# nor the unwind CIEs that every object repeats, nor the private copies of
# inline functions the optimizer makes per object; compiled as one, the
# program is some 23 KB smaller. Their order does not matter: no program
# header declares a name that <windows.h> defines as a macro.
set_target_properties(qm_program PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 0)

# A bare window with a tab control, built the same way: the start-up baseline.
add_executable(baseline WIN32 ${CMAKE_SOURCE_DIR}/tools/baseline/baseline.cpp)
target_compile_definitions(baseline PRIVATE ${QM_XP_DEFS})
target_compile_options(baseline PRIVATE -Os ${QM_CPU_FLAGS})
target_link_libraries(baseline PRIVATE comctl32)
qm_product_link(baseline baseline qm_xp_startup)
