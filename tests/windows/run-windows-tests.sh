#!/usr/bin/env bash
# Builds a Windows tree and runs its tests under Wine on a private X server.
#   tests/windows/run-windows-tests.sh [BUILD-DIR] [LINUX-BUILD-DIR] [x86|x64]
# BUILD-DIR defaults to build-win32; LINUX-BUILD-DIR (default build) holds the Linux module that
# the Windows module's audio and texts are compared with, and the echo checker of the LMMS test.
# The architecture (default x86, the 32-bit DLL) picks the toolchain and the Wine prefix.
# Extra ctest arguments go in CTEST_ARGS (e.g. CTEST_ARGS="-LE integration").
set -euo pipefail
cd "$(dirname "$0")/../.."
source_dir=$(pwd)
build_dir=$(realpath -m "${1:-build-win32}")
linux_build_dir=$(realpath -m "${2:-build}")
case "${3:-x86}" in
  x86) toolchain=i686-w64-mingw32 wine_arch=win32 ;;
  x64) toolchain=x86_64-w64-mingw32 wine_arch=win64 ;;
  *) echo "run-windows-tests.sh: the architecture is x86 or x64, not '$3'" >&2; exit 2 ;;
esac

export WINEARCH=$wine_arch
export WINEDEBUG=-all
# No Mono or Gecko prompts, and no debugger attaching to a crashed test (it would wait for ever).
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
export WINEPREFIX="$build_dir/wine-prefix"

xvfb_pid=""
stop_display() {
  if [ -n "$WINEPREFIX" ] && [ -d "$WINEPREFIX" ]; then wineserver -k 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
}
trap stop_display EXIT

# Starts a private X server and exports its DISPLAY.
start_display() {
  local display_file
  display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$display_file" ] && break
    sleep 0.1
  done
  export DISPLAY=":$(head -n1 "$display_file")"
  rm -f "$display_file"
}

# Makes the Wine prefix once: a system of the build's architecture whose windows are plain X
# windows.
prepare_prefix() {
  if [ -f "$WINEPREFIX/.wrenfold-ready" ]; then return; fi
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.wrenfold-ready"
}

# Starts a persistent Wine server and its helper processes (services, the desktop window) with
# their output going nowhere: started by a test instead, they would hold its output pipe open and
# make ctest wait until they time out after every test.
start_wine_services() {
  wineserver -p
  wine "$build_dir/tests/windows/wrenfold_win32_backend_tests.exe" --gtest_filter=DropTargetTest.AnswersOnly* \
    >/dev/null 2>&1 </dev/null
}

# Builds the Linux twin of the fingerprint program, which loads the Linux module.
build_linux_fingerprint() {
  c++ -std=c++17 -O2 -Wall -Wextra -Werror -I"$source_dir" "$source_dir/tests/windows/ModuleFingerprint.cpp" \
    "$source_dir"/hostkit/*.cpp -ldl -o "$build_dir/wrenfold-fingerprint-linux"
}

start_display
prepare_prefix
cmake -S "$source_dir" -B "$build_dir" -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/$toolchain.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DWRENFOLD_WERROR=ON -DWRENFOLD_TESTS=ON -DWRENFOLD_LINUX_BUILD_DIR="$linux_build_dir" >/dev/null
cmake --build "$build_dir" -j2
if [ -f "$source_dir/tests/windows/ModuleFingerprint.cpp" ]; then build_linux_fingerprint; fi
start_wine_services
# The desktop at 96 dpi, whatever a run stopped half-way through the 192-dpi rows left behind.
wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true
# shellcheck disable=SC2086
ctest --test-dir "$build_dir" --output-on-failure ${CTEST_ARGS:-}
