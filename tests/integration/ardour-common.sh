# Shell functions shared by the Ardour tests; sourced, not run. Ardour's cache, configuration, home
# and plug-in search path are private to the test's work folder, so nothing of the user's is read
# or changed.

ardour_lib=/usr/lib/ardour7
ardour_scanner=$ardour_lib/ardour-vst-scanner

# ardour_require_installed: exits 77 (skipped) when Ardour 7 is not installed.
ardour_require_installed() {
  if [ ! -x "$ardour_scanner" ] || ! command -v ardour7-lua >/dev/null 2>&1; then
    echo "Ardour 7 is not installed (Debian package ardour); skipping"
    exit 77
  fi
}

# ardour_private_setup WORK [MODULE]: empties WORK and points HOME and the XDG folders into it;
# given MODULE, copies it into WORK/lxvst as the only plug-in there, points LXVST_PATH there and
# sets ardour_module to the copy.
ardour_private_setup() {
  rm -rf "$1"
  mkdir -p "$1/lxvst" "$1/cache" "$1/home" "$1/config/ardour7"
  export HOME="$1/home" XDG_CACHE_HOME="$1/cache" XDG_CONFIG_HOME="$1/config"
  [ -n "${2:-}" ] || return 0
  ardour_module=$1/lxvst/wrenfold.so
  cp "$2" "$ardour_module"
  # Ardour trusts its cache only while the cache file is newer than the module (whole seconds),
  # so the copy gets an old date.
  touch -d '2000-01-01 00:00:00' "$ardour_module"
  export LXVST_PATH="$1/lxvst"
}

# ardour_scan NAME: scans the copied module with Ardour's scanner into the private cache and
# fails unless the cache entry names the effect NAME.
ardour_scan() {
  echo "== scanning $ardour_module"
  # The scanner's exit status says little; the cache entry it writes is what Ardour reads.
  LD_LIBRARY_PATH=$ardour_lib timeout 60 "$ardour_scanner" -f "$ardour_module" || true
  entry=$(grep -l "binary=\"$ardour_module\"" "$XDG_CACHE_HOME"/ardour7/vst/*.v2i 2>/dev/null || true)
  if [ -z "$entry" ]; then
    echo "FAIL: the scanner wrote no cache entry for $ardour_module"
    exit 1
  fi
  if ! grep -q "name=\"$1\"" "$entry"; then
    echo "FAIL: the cache entry does not name the effect '$1':"
    cat "$entry"
    exit 1
  fi
  grep -o '<VST2Info[^>]*>' "$entry"
}
