# Cross-compiles for 32-bit Windows with the MinGW-w64 toolchain (posix thread model, so the
# test programs can use std::thread). Programs built here run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(WRENFOLD_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${WRENFOLD_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${WRENFOLD_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${WRENFOLD_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${WRENFOLD_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# SSE2 arithmetic without fused multiply-adds keeps float results bit-identical to the x86-64 build.
# Windows callers align the stack to 4 bytes only: functions that keep SSE values on the stack
# realign it themselves.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse -ffp-contract=off -mincoming-stack-boundary=2")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -ffp-contract=off -mincoming-stack-boundary=2")

# Programs run through Wine; the runner script sets up the prefix and the display.
find_program(WRENFOLD_WINE wine)
if(WRENFOLD_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${WRENFOLD_WINE})
endif()
