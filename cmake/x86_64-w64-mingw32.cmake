# Cross-compiles for 64-bit Windows with the MinGW-w64 toolchain (posix thread model, so the
# test programs can use std::thread). Programs built here run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(WRENFOLD_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${WRENFOLD_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${WRENFOLD_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${WRENFOLD_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${WRENFOLD_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# SSE2 is this target's baseline; without fused multiply-adds float results stay bit-identical
# to the Linux build. The 64-bit calling convention keeps the stack 16-byte aligned.
set(CMAKE_C_FLAGS_INIT "-ffp-contract=off")
set(CMAKE_CXX_FLAGS_INIT "-ffp-contract=off")

# Programs run through Wine; the runner script sets up the prefix and the display.
find_program(WRENFOLD_WINE wine)
if(WRENFOLD_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${WRENFOLD_WINE})
endif()
