# The parts of GCC's runtime the program links, rebuilt from Debian's
# gcc-12-source for the Pentium MMX. The prebuilt libgcc_eh.a and
# libstdc++.a are compiled for the Pentium Pro, and their unwinder, the C++
# exception support and std::map's tree steps use its CMOV, which the
# Pentium MMX and the AMD K6 lack. Objects given to the linker come before
# the archives, so these replace the archives' copies whole.
string(REGEX MATCH "^[0-9]+" QM_GCC_MAJOR "${CMAKE_CXX_COMPILER_VERSION}")
file(GLOB QM_GCC_TARBALL /usr/src/gcc-${QM_GCC_MAJOR}/gcc-${QM_GCC_MAJOR}.*.tar.xz)
if(NOT QM_GCC_TARBALL)
  message(FATAL_ERROR "GCC's runtime sources are missing: apt-get install gcc-${QM_GCC_MAJOR}-source")
endif()
list(GET QM_GCC_TARBALL 0 QM_GCC_TARBALL)
string(REGEX REPLACE ".*/(gcc-[0-9.]+)[^/]*$" "\\1" QM_GCC_TOP "${QM_GCC_TARBALL}")

set(QM_RT_DIR ${CMAKE_BINARY_DIR}/gcc-runtime)
set(QM_RT_SRC ${QM_RT_DIR}/${QM_GCC_TOP})
set(QM_RT_LIBGCC unwind-dw2.c unwind-dw2-fde.c)
set(QM_RT_SUPCXX eh_personality.cc eh_alloc.cc eh_catch.cc eh_terminate.cc)
# What they include comes along: libgcc's and libsupc++'s own folders whole.
set(QM_RT_WANT ${QM_GCC_TOP}/libgcc/* ${QM_GCC_TOP}/libstdc++-v3/libsupc++/*
  ${QM_GCC_TOP}/libstdc++-v3/src/c++98/tree.cc ${QM_GCC_TOP}/gcc/tsystem.h ${QM_GCC_TOP}/include/*)
if(NOT EXISTS ${QM_RT_DIR}/unpacked OR ${QM_GCC_TARBALL} IS_NEWER_THAN ${QM_RT_DIR}/unpacked)
  message(STATUS "Unpacking GCC's runtime sources from ${QM_GCC_TARBALL}")
  file(REMOVE_RECURSE ${QM_RT_DIR})
  file(MAKE_DIRECTORY ${QM_RT_DIR})
  execute_process(COMMAND tar -xJf ${QM_GCC_TARBALL} --wildcards ${QM_RT_WANT}
    WORKING_DIRECTORY ${QM_RT_DIR} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "Could not unpack GCC's runtime sources from ${QM_GCC_TARBALL}")
  endif()
  file(TOUCH ${QM_RT_DIR}/unpacked)
endif()

# libgcc's build generates these from GCC's configuration; with
# -fbuilding-libgcc the compiler predefines what they would say, but for one
# macro that is the identity on this target.
set(QM_RT_CONF ${QM_RT_DIR}/config)
foreach(h tconfig.h coretypes.h libgcc_tm.h)
  file(WRITE ${QM_RT_CONF}/${h} "")
endforeach()
file(WRITE ${QM_RT_CONF}/tm.h "#define DWARF_REG_TO_UNWIND_COLUMN(REGNO) (REGNO)\n")
configure_file(${QM_RT_SRC}/libgcc/config/i386/w32-unwind.h ${QM_RT_CONF}/md-unwind-support.h COPYONLY)
configure_file(${QM_RT_SRC}/libgcc/config/i386/gthr-win32.h ${QM_RT_CONF}/gthr-default.h COPYONLY)

set(QM_RT_SOURCES ${QM_RT_SRC}/libstdc++-v3/src/c++98/tree.cc)
foreach(f ${QM_RT_LIBGCC})
  list(APPEND QM_RT_SOURCES ${QM_RT_SRC}/libgcc/${f})
endforeach()
foreach(f ${QM_RT_SUPCXX})
  list(APPEND QM_RT_SOURCES ${QM_RT_SRC}/libstdc++-v3/libsupc++/${f})
endforeach()
add_library(qm_runtime OBJECT ${QM_RT_SOURCES})
target_include_directories(qm_runtime PRIVATE ${QM_RT_CONF} ${QM_RT_SRC}/libgcc ${QM_RT_SRC}/gcc ${QM_RT_SRC}/include
  ${QM_RT_SRC}/libstdc++-v3/libsupc++)
target_compile_options(qm_runtime PRIVATE ${QM_CPU_FLAGS} -Os -w
  $<$<COMPILE_LANGUAGE:C>:-fbuilding-libgcc -fexceptions -fno-stack-protector>)
target_compile_definitions(qm_runtime PRIVATE $<$<COMPILE_LANGUAGE:C>:IN_GCC IN_LIBGCC2>)
set_target_properties(qm_runtime PROPERTIES CXX_STANDARD 17 CXX_EXTENSIONS ON UNITY_BUILD OFF)
