#!/bin/sh
# Proves the module in a real host: Ardour 7's scanner indexes it, and a headless Ardour session
# (Dummy backend) lists it, loads it and renders an impulse through it; the export must hold the
# echo DELAY frames after the impulse in both channels. Ardour's cache, configuration, home and
# plug-in search path are private to WORK, so nothing of the user's is read or changed.
#
# usage: ardour-host-test.sh MODULE ECHO-CHECK SCRIPT-DIR WORK NAME PARAMETERS DELAY
# Exits 77 (skipped) when Ardour 7 is not installed.
set -eu

module=$1 checker=$2 scripts=$3 work=$4 name=$5 parameters=$6 delay=$7
ardour_lib=/usr/lib/ardour7
scanner=$ardour_lib/ardour-vst-scanner

if [ ! -x "$scanner" ] || ! command -v ardour7-lua >/dev/null 2>&1; then
  echo "Ardour 7 is not installed (Debian package ardour); skipping"
  exit 77
fi

rm -rf "$work"
mkdir -p "$work/lxvst" "$work/cache" "$work/home" \
  "$work/config/ardour7/scripts" "$work/config/ardour7/export"
copy=$work/lxvst/wrenfold.so
cp "$module" "$copy"
# Ardour skips a module that is not older than its cache entry, so the copy gets an old date.
touch -d '2000-01-01 00:00:00' "$copy"
cp "$scripts/impulse.lua" "$work/config/ardour7/scripts/wrenfold-test-impulse.lua"
cp "$scripts/float-export.preset" "$work/config/ardour7/export/wrenfold-test-float.preset"

export HOME="$work/home" XDG_CACHE_HOME="$work/cache" XDG_CONFIG_HOME="$work/config"
export LXVST_PATH="$work/lxvst"

echo "== scanning $copy"
# The scanner's exit status says little; the cache entry it writes is what Ardour reads.
LD_LIBRARY_PATH=$ardour_lib timeout 60 "$scanner" -f "$copy" || true
entry=$(grep -l "binary=\"$copy\"" "$XDG_CACHE_HOME"/ardour7/vst/*.v2i 2>/dev/null || true)
if [ -z "$entry" ]; then
  echo "FAIL: the scanner wrote no cache entry for $copy"
  exit 1
fi
if ! grep -q "name=\"$name\"" "$entry"; then
  echo "FAIL: the cache entry does not name the effect '$name':"
  cat "$entry"
  exit 1
fi
grep -o '<VST2Info[^>]*>' "$entry"

echo "== rendering an impulse in a headless session"
WRENFOLD_ARDOUR_WORK="$work" WRENFOLD_ARDOUR_MODULE="$copy" WRENFOLD_PLUGIN_NAME="$name" \
  WRENFOLD_PLUGIN_PARAMETERS="$parameters" \
  timeout 120 ardour7-lua "$scripts/session.lua" >"$work/session.log" 2>&1 || {
  echo "FAIL: the Ardour session script failed:"
  cat "$work/session.log"
  exit 1
}
grep -E '^(LISTED|LOADED|EXPORTED)' "$work/session.log"

echo "== checking the echo"
"$checker" "$work/impulse.wav" "$delay"
