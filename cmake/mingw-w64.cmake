# Cross build for 64-bit Windows with Debian's MinGW-w64 compiler (posix
# threads), for example:
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCARTELOOM_APP=OFF
# The programs are linked statically so that each .exe runs on its own, and
# run through wine wherever the build runs one (test discovery, ctest).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CARTELOOM_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${CARTELOOM_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${CARTELOOM_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${CARTELOOM_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${CARTELOOM_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# GCC 12 reports impossible overlaps in its own std::string code when it
# inlines "text" + std::string at -O2 (a known false positive of that
# release); it would drown the warnings that matter.
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")

if(EXISTS /usr/lib/wine/wine64)
  set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
endif()
# Tests are listed when ctest runs, not after each link: the build itself
# never needs wine.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)

# Header-only CLI11 from the build machine: only its own headers are put on
# the include path, never the rest of /usr/include.
set(CLI11_DIR ${CMAKE_CURRENT_LIST_DIR}/cli11)
# GoogleTest is built from source with this compiler (tests/CMakeLists.txt).
set(CARTELOOM_GTEST_SOURCE /usr/src/googletest)
