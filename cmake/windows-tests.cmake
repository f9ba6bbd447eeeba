# The Windows test build (included by tests/CMakeLists.txt): the per-folder test programs are
# cross-built with MinGW-w64 and run under Wine through CMAKE_CROSSCOMPILING_EMULATOR, for the
# discovery of their tests and for each test, with the known folders in the build tree.

# One Wine prefix for the build's tests. Programs run through a wrapper that keeps Wine's own
# helper processes (wineserver, services, explorer) off CTest's output pipe, which they would
# otherwise hold open after the test ends.
set(MRW_WINE_PREFIX ${PROJECT_BINARY_DIR}/wine-prefix CACHE PATH "The Wine prefix of the Windows test run")
configure_file(${PROJECT_SOURCE_DIR}/cmake/run-under-wine.sh.in ${PROJECT_BINARY_DIR}/run-under-wine @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_BINARY_DIR}/run-under-wine)

# Wine's drive Z: is the Linux root.
set(MRW_TEST_HOME Z:${CMAKE_CURRENT_BINARY_DIR}/home)
set(MRW_TEST_PLATFORM_ENVIRONMENT WINEPREFIX=${MRW_WINE_PREFIX} WINEDEBUG=-all)

# Tests of our Linux stand-ins for the Windows platform: on Windows the real platform is there
# instead, so they stay out for good (paths below tests/).
set(MRW_TEST_SOURCES_LINUX_ONLY
  # the Win32/GDI stand-in: windows, controls, drawing, message queue, monitors, its PNG writer
  platform/win32/
  # the Winsock stand-in over POSIX sockets, and its error map
  platform/winsock/)

# Test programs not yet built for Windows, each with its reason; their engineers take them off.
set(MRW_TESTS_NOT_YET_UNDER_WINE)

# UTF-8 path text and the file calls on folders named beyond ASCII, on their own: the quick check
# of the Windows build.
add_executable(test_portability
  ${CMAKE_CURRENT_SOURCE_DIR}/foundation/non_ascii_paths_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/support/test_support.cpp)
target_include_directories(test_portability PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(test_portability PRIVATE merrowvale_foundation GTest::gtest_main mrw_warnings)
add_test(NAME test_portability COMMAND test_portability)
set_tests_properties(test_portability PROPERTIES TIMEOUT 300 ENVIRONMENT
  "${MRW_TEST_PLATFORM_ENVIRONMENT};MRW_ROAMING_APPDATA=${MRW_TEST_HOME}/roaming;MRW_LOCAL_APPDATA=${MRW_TEST_HOME}/local;MRW_DOWNLOAD_SITE=http://127.0.0.1:9")

# The wrapper itself: a program that dies of an unhandled exception must fail its test.
add_executable(unhandled_exception_probe ${CMAKE_CURRENT_SOURCE_DIR}/wine/unhandled_exception_probe.cpp)
add_test(NAME RunUnderWine.ACrashedProgramFails COMMAND unhandled_exception_probe)
set_tests_properties(RunUnderWine.ACrashedProgramFails PROPERTIES WILL_FAIL TRUE TIMEOUT 120
  ENVIRONMENT "${MRW_TEST_PLATFORM_ENVIRONMENT}")
