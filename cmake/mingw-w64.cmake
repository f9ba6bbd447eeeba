# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (g++ 12, POSIX threads for std::thread).
#
#   cmake -S . -B build/windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
#         -DMRW_WINDOWS_LIBS=<prefix of scripts/cross-build-libs>
#
# Programs are linked statically with libstdc++, libgcc and winpthread, so they run without
# MinGW's DLLs. Test programs run under wine64 through CMAKE_CROSSCOMPILING_EMULATOR.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MRW_MINGW_HOST x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${MRW_MINGW_HOST}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MRW_MINGW_HOST}-g++-posix)
set(CMAKE_RC_COMPILER ${MRW_MINGW_HOST}-windres)
set(CMAKE_AR ${MRW_MINGW_HOST}-gcc-ar-posix)
set(CMAKE_RANLIB ${MRW_MINGW_HOST}-gcc-ranlib-posix)

# The cross-built libraries' prefix is searched too (kept in the cache for the library builds).
set(MRW_WINDOWS_LIBS "" CACHE PATH "Prefix of the cross-built libraries (scripts/cross-build-libs)")
set(CMAKE_FIND_ROOT_PATH /usr/${MRW_MINGW_HOST} ${MRW_WINDOWS_LIBS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# The shipped (Release) program without the symbol table and the libraries' debug information: 40 %
# of its size, and of no use to a user. The test builds are Debug.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")

find_program(MRW_WINE NAMES wine wine64 PATHS /usr/bin /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(MRW_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${MRW_WINE})
endif()
