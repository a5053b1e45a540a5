#!/bin/sh
# check-exports.sh OBJDUMP DLL NAME...
# Passes when the DLL exports exactly the given names and imports only DLLs that Windows itself
# ships (no compiler runtime beside the module).
set -eu
objdump=$1 dll=$2
shift 2
exports=$("$objdump" -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/s/^\t\[ *[0-9]*\] //p' | sort | xargs)
expected=$(printf '%s\n' "$@" | sort | xargs)
if [ "$exports" != "$expected" ]; then
  echo "$dll exports '$exports', not '$expected'"
  exit 1
fi
for import in $("$objdump" -p "$dll" | sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z'); do
  case $import in
    kernel32.dll | user32.dll | gdi32.dll | ole32.dll | shell32.dll | msvcrt.dll) ;;
    *)
      echo "$dll imports $import, which is not a system DLL"
      exit 1
      ;;
  esac
done
echo "$dll exports $exports and imports system DLLs only"
