# The Windows test build (included by tests/CMakeLists.txt): test programs cross-built with
# MinGW-w64 that run under Wine through CMAKE_CROSSCOMPILING_EMULATOR, one CTest entry per program
# (each Wine start costs a second or more), each with the known folders in the build tree.
#
# The per-folder test programs of the Linux build are not built here yet: their shared helpers
# (tests/support) use POSIX sockets and environment calls, and many drive our Win32 stand-in through
# its test interface. What runs under Wine: the platform and path portability tests below, and the
# SimConnect.dll and package tests of tests/package.
include(GoogleTest)

set(MRW_WINE_PREFIX ${PROJECT_BINARY_DIR}/wine-prefix CACHE PATH "The Wine prefix of the Windows test run")
# Wine's drive Z: is the Linux root.
set(MRW_TEST_HOME Z:${CMAKE_CURRENT_BINARY_DIR}/home)

function(mrw_add_wine_test target)
  add_executable(${target} ${ARGN})
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${target} PRIVATE merrowvale_core GTest::gtest_main mrw_warnings)
  add_test(NAME ${target} COMMAND ${target})
  set_tests_properties(${target} PROPERTIES TIMEOUT 600 ENVIRONMENT
    "WINEPREFIX=${MRW_WINE_PREFIX};WINEDEBUG=-all;MRW_ROAMING_APPDATA=${MRW_TEST_HOME}/roaming;MRW_LOCAL_APPDATA=${MRW_TEST_HOME}/local;MRW_DOWNLOAD_SITE=http://127.0.0.1:9")
endfunction()

# UTF-8 path text and the file calls on folders named beyond ASCII.
mrw_add_wine_test(test_portability
  ${CMAKE_CURRENT_SOURCE_DIR}/foundation/non_ascii_paths_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/support/test_support.cpp)

# The test driver (platform/win32/standin.h) over the real Win32: input, pumping, closing.
mrw_add_wine_test(test_driver
  ${CMAKE_CURRENT_SOURCE_DIR}/platform/test_driver/test_driver_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/support/win32_driver_windows.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/support/test_window.cpp)

# The Windows zip as a user unpacks and starts it; the binding against our SimConnect.dll.
add_subdirectory(package)
