# What both MinGW-w64 cross builds share (Debian's g++-mingw-w64-*-posix): the
# including toolchain file sets CMAKE_SYSTEM_PROCESSOR and
# tallowbrook_mingw_triplet first. The posix-thread variant gives the test
# framework a complete std::thread; everything is linked statically so the
# programs run under Wine or on a bare Windows machine without hunting for
# runtime DLLs.
set(CMAKE_SYSTEM_NAME Windows)

find_program(CMAKE_CXX_COMPILER NAMES ${tallowbrook_mingw_triplet}-g++-posix ${tallowbrook_mingw_triplet}-g++ REQUIRED)
find_program(CMAKE_C_COMPILER NAMES ${tallowbrook_mingw_triplet}-gcc-posix ${tallowbrook_mingw_triplet}-gcc)
find_program(CMAKE_RC_COMPILER NAMES ${tallowbrook_mingw_triplet}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${tallowbrook_mingw_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Test programs cannot run on the build machine: list their tests when ctest
# runs (ctest --preset windows, through Wine when it is there), not right after
# linking them. scripts/wine-run.sh runs them in the project's own prefix;
# Wine's own loader starts 32-bit and 64-bit programs alike in one WoW64 prefix.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
find_program(tallowbrook_wine NAMES wine)
if(tallowbrook_wine)
  get_filename_component(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh ABSOLUTE)
endif()

# CLI11 is header-only and the same for every target: hand Debian's copy to the
# cross compiler through a folder of its own, since the whole of /usr/include
# would shadow the MinGW headers.
set(tallowbrook_cross_include ${CMAKE_BINARY_DIR}/cross-include)
if(EXISTS /usr/include/CLI/CLI.hpp AND NOT EXISTS ${tallowbrook_cross_include}/CLI)
  file(MAKE_DIRECTORY ${tallowbrook_cross_include})
  file(CREATE_LINK /usr/include/CLI ${tallowbrook_cross_include}/CLI SYMBOLIC)
endif()
if(NOT CMAKE_CXX_FLAGS_INIT MATCHES "cross-include")
  string(APPEND CMAKE_CXX_FLAGS_INIT " -isystem ${tallowbrook_cross_include}")
endif()
