# What both Windows toolchains share: a MinGW-w64 cross compiler of the posix thread model (so the
# test programs can use std::thread), found by WRENFOLD_MINGW_PREFIX, and Wine to run the programs
# built with it. Included by cmake/i686-w64-mingw32.cmake and cmake/x86_64-w64-mingw32.cmake.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${WRENFOLD_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${WRENFOLD_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${WRENFOLD_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${WRENFOLD_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Programs run through Wine; the runner script sets up the prefix and the display.
find_program(WRENFOLD_WINE wine)
if(WRENFOLD_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${WRENFOLD_WINE})
endif()
