# Fuzz targets (libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer).
# Needs clang: CC=clang CXX=clang++ cmake -S . -B build/fuzz -DQM_BUILD=fuzz
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "The fuzz build needs clang (libFuzzer): CC=clang CXX=clang++ cmake -DQM_BUILD=fuzz ...")
endif()

# Every sanitizer finding stops the run, so the fuzzer keeps the input.
set(QM_FUZZ_SAN address,undefined)
set(QM_FUZZ_FLAGS -g -O1 -fno-omit-frame-pointer -fno-sanitize-recover=all)

# Sources to leave out (regular expressions), e.g. one a colleague is midway through.
set(QM_FUZZ_SKIP "" CACHE STRING "logic sources the fuzz build leaves out")
set(QM_FUZZ_SOURCES ${QM_LOGIC_SOURCES})
foreach(skip ${QM_FUZZ_SKIP})
  list(FILTER QM_FUZZ_SOURCES EXCLUDE REGEX "${skip}")
endforeach()

add_library(qm_fuzz_logic STATIC ${QM_FUZZ_SOURCES})
target_include_directories(qm_fuzz_logic PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(qm_fuzz_logic PUBLIC ${QM_FUZZ_FLAGS} -fsanitize=fuzzer-no-link,${QM_FUZZ_SAN})
target_compile_options(qm_fuzz_logic PRIVATE -Wall -Wextra
  -fsanitize-coverage-ignorelist=${CMAKE_SOURCE_DIR}/tests/fuzz/coverage_ignore.txt)

# Each target, with the logic folders it needs besides equalizer (whose ten
# coefficient sets every target's checks know); a target whose folders are
# left out of QM_LOGIC_DIRS is not built.
set(QM_FUZZ_TARGETS
  "fuzz_main:main,reset,wpcrset,info"
  "fuzz_eq:"
  "fuzz_wpcrset:wpcrset"
  "fuzz_reset:reset"
  "fuzz_quad:main"
  "fuzz_mixer:main"
  "fuzz_info:info"
  "fuzz_backup_reader:backup"
  "fuzz_backup_roundtrip:backup")

set(QM_FUZZ_BUILT)
foreach(entry ${QM_FUZZ_TARGETS})
  string(REPLACE ":" ";" parts "${entry}")
  string(REPLACE "," ";" parts "${parts}")
  list(GET parts 0 target)
  list(SUBLIST parts 1 -1 needs)
  list(APPEND needs equalizer)
  list(REMOVE_ITEM needs "")
  set(ok TRUE)
  foreach(dir ${needs})
    if(NOT dir IN_LIST QM_LOGIC_DIRS)
      set(ok FALSE)
    endif()
  endforeach()
  if(NOT ok)
    message(STATUS "fuzz: ${target} skipped, it needs ${needs}")
    continue()
  endif()
  add_executable(${target} ${CMAKE_SOURCE_DIR}/tests/fuzz/${target}.cpp ${CMAKE_SOURCE_DIR}/tests/fuzz/asan_options.cpp)
  target_link_libraries(${target} PRIVATE qm_fuzz_logic)
  target_compile_options(${target} PRIVATE -Wall -Wextra
    -fsanitize-coverage-ignorelist=${CMAKE_SOURCE_DIR}/tests/fuzz/coverage_ignore.txt)
  target_link_options(${target} PRIVATE -fsanitize=fuzzer,${QM_FUZZ_SAN})
  list(APPEND QM_FUZZ_BUILT ${target})
endforeach()

# The names of the targets built, for scripts/fuzz.
string(REPLACE ";" "\n" _targets "${QM_FUZZ_BUILT}")
file(WRITE ${CMAKE_BINARY_DIR}/fuzz-targets.txt "${_targets}\n")
