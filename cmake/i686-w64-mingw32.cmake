# Cross-compiles for 32-bit Windows with the MinGW-w64 toolchain; programs built here run under Wine.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(WRENFOLD_MINGW_PREFIX i686-w64-mingw32)

# SSE2 arithmetic without fused multiply-adds keeps float results bit-identical to the x86-64 build.
# Windows callers align the stack to 4 bytes only: functions that keep SSE values on the stack
# realign it themselves.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse -ffp-contract=off -mincoming-stack-boundary=2")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -ffp-contract=off -mincoming-stack-boundary=2")

include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
