# Cross-compiles for 64-bit Windows with the MinGW-w64 toolchain; programs built here run under Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(WRENFOLD_MINGW_PREFIX x86_64-w64-mingw32)

# SSE2 is this target's baseline; without fused multiply-adds float results stay bit-identical
# to the Linux build. The 64-bit calling convention keeps the stack 16-byte aligned.
set(CMAKE_C_FLAGS_INIT "-ffp-contract=off")
set(CMAKE_CXX_FLAGS_INIT "-ffp-contract=off")

include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
