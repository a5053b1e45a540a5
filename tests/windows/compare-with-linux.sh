#!/bin/sh
# compare-with-linux.sh WINDOWS-FINGERPRINT DLL LINUX-FINGERPRINT LINUX-MODULE WORK-DIR
# Runs the fingerprint program against both builds of the module and compares the files byte for
# byte. Exits 77 (skipped) when the Linux build is not there to compare with.
set -eu
windows_program=$1 dll=$2 linux_program=$3 linux_module=$4 work=$5
if [ ! -x "$linux_program" ] || [ ! -f "$linux_module" ]; then
  echo "no Linux build to compare with ($linux_program, $linux_module)"
  exit 77
fi
mkdir -p "$work"
"$linux_program" "$linux_module" "$work/linux.bin"
wine "$windows_program" "$dll" "$work/windows.bin"
if cmp "$work/linux.bin" "$work/windows.bin"; then
  echo "Linux and Windows builds agree on $(wc -c <"$work/linux.bin") bytes of audio and texts"
else
  exit 1
fi
