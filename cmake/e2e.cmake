# GoogleTest's own sources, from Debian's googletest package.
set(QM_GTEST_SRC /usr/src/googletest CACHE PATH "GoogleTest sources")
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${QM_GTEST_SRC} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB QM_E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
add_executable(qm_e2e ${QM_E2E_SOURCES})
target_include_directories(qm_e2e PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests/e2e)
target_compile_definitions(qm_e2e PRIVATE _WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600 NOMINMAX)
target_link_libraries(qm_e2e PRIVATE gtest gtest_main comctl32 psapi advapi32 user32 gdi32)
target_link_options(qm_e2e PRIVATE -static)
