# GoogleTest's own sources, from Debian's googletest package.
set(QM_GTEST_SRC /usr/src/googletest CACHE PATH "GoogleTest sources")
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${QM_GTEST_SRC} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(QM_E2E_DEFS _WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600 NOMINMAX)

# The driver library: starts the program, drives its windows, reads the
# registry. It needs no GoogleTest, so the demo's tab helper can use it.
file(GLOB QM_E2E_DRIVER CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/driver/*.cpp)
add_library(qm_e2e_driver STATIC ${QM_E2E_DRIVER}
  ${CMAKE_SOURCE_DIR}/settings/Catalogue.cpp
  ${CMAKE_SOURCE_DIR}/equalizer/CoefficientSets.cpp)
target_include_directories(qm_e2e_driver PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests/e2e)
target_compile_definitions(qm_e2e_driver PUBLIC ${QM_E2E_DEFS})
target_compile_options(qm_e2e_driver PRIVATE -Wall -Wextra)
target_link_libraries(qm_e2e_driver PUBLIC comctl32 psapi advapi32 user32 gdi32)

# The tests: one test_<feature>.cpp per feature.
file(GLOB QM_E2E_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/test_*.cpp)
add_executable(qm_e2e ${QM_E2E_TESTS})
target_link_libraries(qm_e2e PRIVATE qm_e2e_driver gtest gtest_main)
target_link_options(qm_e2e PRIVATE -static)

# Switches the main window's tabs for the demo's screenshots.
add_executable(qm_demo_tabs ${CMAKE_SOURCE_DIR}/tests/e2e/demo_tabs.cpp)
target_link_libraries(qm_demo_tabs PRIVATE qm_e2e_driver)
target_link_options(qm_demo_tabs PRIVATE -static)

# Stands in for the programs the tools list starts: records that it ran.
add_executable(fake_mixer WIN32 ${CMAKE_SOURCE_DIR}/tests/e2e/helper_mixer.cpp)
target_compile_definitions(fake_mixer PRIVATE ${QM_E2E_DEFS})
target_link_options(fake_mixer PRIVATE -static)
add_dependencies(qm_e2e fake_mixer)

# Times the start of quillmere.exe against the baseline (scripts/bench).
add_executable(qm_startbench ${CMAKE_SOURCE_DIR}/tools/bench/startbench.cpp)
target_compile_definitions(qm_startbench PRIVATE ${QM_E2E_DEFS})
target_compile_options(qm_startbench PRIVATE -Wall -Wextra)
target_link_options(qm_startbench PRIVATE -static)
