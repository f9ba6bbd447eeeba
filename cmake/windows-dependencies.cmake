# The libraries of the Windows build (cmake/mingw-w64.cmake), under the same target names as the
# Linux build's packages:
# - pugixml, libzip, libsodium and libcurl: static, cross-built from Debian's sources by
#   scripts/cross-build-libs into MRW_WINDOWS_LIBS;
# - fmt (header-only), nlohmann-json and GSL: header-only, copied from Debian's -dev packages into
#   the build tree (the host's /usr/include must not be searched: its C library is not Windows');
# - GoogleTest: built from /usr/src/googletest (libgtest-dev).
if(NOT MRW_WINDOWS_LIBS OR NOT EXISTS ${MRW_WINDOWS_LIBS}/lib/libpugixml.a)
  message(FATAL_ERROR "MRW_WINDOWS_LIBS must name the prefix that scripts/cross-build-libs filled")
endif()

# The real platform's headers stand where the product includes our stand-ins' ("platform/win32/...",
# "platform/winsock/...", "platform/windows_types.h"): first in every target's include path.
include_directories(BEFORE ${PROJECT_SOURCE_DIR}/src/platform/windows/include)

# Windows 10 interfaces; the W functions; no min/max macros; <windows.h> without Winsock 1.
add_compile_definitions(_WIN32_WINNT=0x0A00 WINVER=0x0A00 UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN)

enable_language(RC)
find_package(Threads REQUIRED)

set(MRW_HEADER_COPIES ${PROJECT_BINARY_DIR}/header-only)
foreach(folder IN ITEMS fmt nlohmann gsl)
  if(NOT EXISTS /usr/include/${folder})
    message(FATAL_ERROR "/usr/include/${folder} is missing: run scripts/install-deps")
  endif()
  file(COPY /usr/include/${folder} DESTINATION ${MRW_HEADER_COPIES})
endforeach()
include_directories(SYSTEM ${MRW_HEADER_COPIES})

add_library(fmt::fmt INTERFACE IMPORTED)
target_compile_definitions(fmt::fmt INTERFACE FMT_HEADER_ONLY)
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)

find_package(pugixml CONFIG REQUIRED)
set(ZLIB_USE_STATIC_LIBS ON)  # libz.a: the programs need no zlib1.dll
find_package(ZLIB REQUIRED)
find_package(libzip CONFIG REQUIRED)
find_package(CURL CONFIG REQUIRED)

# The names the Linux build gets from pkg-config.
add_library(PkgConfig::LIBZIP INTERFACE IMPORTED)
target_link_libraries(PkgConfig::LIBZIP INTERFACE libzip::zip)
add_library(PkgConfig::SODIUM STATIC IMPORTED)
set_target_properties(PkgConfig::SODIUM PROPERTIES
  IMPORTED_LOCATION ${MRW_WINDOWS_LIBS}/lib/libsodium.a
  INTERFACE_INCLUDE_DIRECTORIES ${MRW_WINDOWS_LIBS}/include
  INTERFACE_COMPILE_DEFINITIONS SODIUM_STATIC
  INTERFACE_LINK_LIBRARIES advapi32)

# The Windows libraries the platform layer calls.
set(MRW_WINDOWS_SYSTEM_LIBRARIES user32 gdi32 ws2_32 shell32 ole32 winmm advapi32)

if(MRW_TESTS)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  # Defines GTest::gtest, GTest::gmock and their _main targets.
  add_subdirectory(/usr/src/googletest ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
