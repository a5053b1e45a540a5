#!/usr/bin/env bash
# Proves what `./run package` left in out/, as a user gets it: lintian finds no error in the Debian
# package; apt installs it; from /usr/bin the tools answer, find the module in /usr/lib/vst and
# render with it, and have their manual pages; Ardour, with none of the user's settings, finds and
# loads the module where the package put it; apt removes every file again. The Windows archive
# holds exactly its files, and each DLL exports what its bitness must. Last, the README's install
# from a fresh clone: a plain configure needs no test library and builds no tests, and the install
# holds the module and the tools with their manual pages, which find and use that module.
#
# The machine is left as it was, also when a step fails: a wrenfold package installed before is
# taken out first and put back at the end, and packages the install pulled in are removed again.
#
# usage: tests/package/package-test.sh   (as root; needs apt, lintian, dpkg-repack, man-db, unzip,
#                                         git, Ardour 7 and the mingw-w64 binutils)
set -euo pipefail
cd "$(dirname "$0")/../.."
source_dir=$(pwd)
version=$(sed -n 's/^project(wrenfold VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb=$source_dir/out/wrenfold_${version}_amd64.deb
zip=$source_dir/out/wrenfold-${version}-windows.zip
work=$(mktemp -d)
# Minimal images keep dpkg from installing manual pages; this lets ours in while the test runs.
man_include=/etc/dpkg/dpkg.cfg.d/zz-wrenfold-test-manual-pages
saved_package="" saved_auto=""

apt_get() { DEBIAN_FRONTEND=noninteractive apt-get -y -qq "$@" </dev/null >/dev/null; }
installed_packages() { dpkg-query -W -f '${db:Status-Abbrev} ${binary:Package}\n' | awk '$1 == "ii" { print $2 }' | sort; }
wrenfold_status() { dpkg-query -W -f '${db:Status-Status}' wrenfold 2>/dev/null || true; }
wrenfold_installed() { [ "$(wrenfold_status)" = installed ]; }
fail() { echo "FAIL: $*"; exit 1; }

# Removes the package and whatever it pulled in, and puts back what was there before.
restore() {
  local status=$?
  set +e
  cd "$source_dir"
  case $(wrenfold_status) in "" | not-installed) ;; *) apt_get purge wrenfold ;; esac
  local pulled
  pulled=$(comm -13 "$work/before" <(installed_packages))
  # shellcheck disable=SC2086
  if [ -n "$pulled" ]; then apt_get purge $pulled; fi
  if [ -n "$saved_package" ]; then
    apt_get install "$saved_package"
    if [ -n "$saved_auto" ]; then apt-mark auto wrenfold >/dev/null; fi
    echo "put back the wrenfold package that was installed before"
  fi
  rm -f "$man_include"
  rm -rf "$work"
  exit "$status"
}
trap restore EXIT
trap 'exit 1' INT TERM HUP

[ "$(id -u)" -eq 0 ] || fail "the package test installs a package: run it as root"
[ -f "$deb" ] && [ -f "$zip" ] || fail "run ./run package first: $deb or $zip is missing"

if wrenfold_installed; then
  echo "== a wrenfold package is installed: kept aside until the end"
  saved_auto=$(apt-mark showauto wrenfold)
  mkdir "$work/saved"
  (cd "$work/saved" && dpkg-repack wrenfold >/dev/null)
  saved_package=$(echo "$work"/saved/wrenfold_*.deb)
  apt_get remove wrenfold
fi
installed_packages >"$work/before"
if grep -qrs '^path-exclude=/usr/share/man' /etc/dpkg/dpkg.cfg.d/; then
  echo 'path-include=/usr/share/man/man1/wrenfold-*' >"$man_include"
fi

echo "== lintian $(basename "$deb")"
lintian_status=0
lintian --fail-on error "$deb" >"$work/lintian" 2>&1 || lintian_status=$?
grep -v 'running with root privileges' "$work/lintian" || true
[ "$lintian_status" -eq 0 ] || fail "lintian reports errors"

echo "== apt-get install ./out/$(basename "$deb")"
apt_get install "$deb"
dpkg -L wrenfold >"$work/files"
grep -qF "$(grep -m1 '^Permission' LICENSE)" /usr/share/doc/wrenfold/copyright ||
  fail "the package's copyright file does not carry the license"

echo "== the installed tools, from /usr/bin, with the module of /usr/lib/vst"
mkdir "$work/home"
cd "$work"
export HOME=$work/home
unset VST_PATH LXVST_PATH
[ "$(/usr/bin/wrenfold-render --version)" = "wrenfold-render $version" ] || fail "wrenfold-render --version"
/usr/bin/wrenfold-info >"$work/info" || fail "wrenfold-info does not find the installed module"
name=$(sed -n 's/^effect: //p' "$work/info")
parameters=$(sed -n 's/^record: .* \([0-9]*\) parameters.*/\1/p' "$work/info")
/usr/bin/wrenfold-render --stats "$work/demo.wav" || fail "wrenfold-render does not render"
[ -s "$work/demo.wav" ] || fail "wrenfold-render wrote no audio"
for tool in wrenfold-render wrenfold-info wrenfold-snapshot wrenfold-preview; do
  [ "$(man -w "$tool")" = "/usr/share/man/man1/$tool.1.gz" ] || fail "man -w $tool: $(man -w "$tool" 2>&1)"
done
echo "man -w finds the pages of the four tools"

echo "== Ardour finds the installed module in its own search path"
. "$source_dir/tests/integration/ardour-common.sh"
ardour_require_installed
ardour_private_home "$work/ardour"
ardour_module=/usr/lib/vst/wrenfold.so
ardour_scan "$name"
mkdir -p "$work/ardour/config/ardour7/scripts"
cp "$source_dir/tests/integration/impulse.lua" "$work/ardour/config/ardour7/scripts/wrenfold-test-impulse.lua"
WRENFOLD_ARDOUR_WORK="$work/ardour" WRENFOLD_ARDOUR_SCRIPTS="$source_dir/tests/integration" \
  WRENFOLD_ARDOUR_MODULE="$ardour_module" WRENFOLD_PLUGIN_NAME="$name" WRENFOLD_PLUGIN_PARAMETERS="$parameters" \
  timeout 120 ardour7-lua "$source_dir/tests/integration/session.lua" >"$work/ardour.log" 2>&1 ||
  { cat "$work/ardour.log"; fail "Ardour does not list or load $ardour_module"; }
grep -E '^(LISTED|LOADED)' "$work/ardour.log"
cd "$source_dir"

echo "== apt-get remove wrenfold"
apt_get remove wrenfold
case $(wrenfold_status) in "" | not-installed) ;; *) fail "dpkg still knows wrenfold: $(wrenfold_status)" ;; esac
while read -r path; do
  if { [ -e "$path" ] || [ -L "$path" ]; } && ! [ -d "$path" ] || { [ -d "$path" ] && [ -z "$(ls -A "$path")" ]; }; then
    fail "left behind: $path"
  fi
done <"$work/files"
echo "none of its $(wc -l <"$work/files") paths is left"

echo "== $(basename "$zip")"
expected=$(printf '%s\n' LICENSE.txt README.txt x64/wrenfold.dll x86/wrenfold.dll)
[ "$(unzip -Z1 "$zip" | sort)" = "$expected" ] || fail "the archive holds: $(unzip -Z1 "$zip" | xargs)"
unzip -q "$zip" -d "$work/zip"
tr -d '\r' <"$work/zip/LICENSE.txt" | head -n "$(wc -l <LICENSE)" | cmp -s - LICENSE ||
  fail "LICENSE.txt does not start with the license"
sh tests/windows/check-exports.sh x86_64-w64-mingw32-objdump "$work/zip/x64/wrenfold.dll" main VSTPluginMain
sh tests/windows/check-exports.sh i686-w64-mingw32-objdump "$work/zip/x86/wrenfold.dll" main

echo "== Installing for a host, from a fresh clone"
git -c safe.directory='*' clone -q "$source_dir" "$work/clone"
cd "$work/clone"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >"$work/configure.log" || { cat "$work/configure.log"; fail "configure"; }
! grep -q '^GTest_DIR' build/CMakeCache.txt || fail "a plain configure looks for GoogleTest"
cmake --build build -j2 >"$work/build.log" || { tail -n 30 "$work/build.log"; fail "build"; }
[ ! -e build/tests ] || fail "a plain build builds the tests"
DESTDIR=$work/stage cmake --install build >/dev/null
prefix=$work/stage/usr/local
for file in lib/vst/wrenfold.so share/man/man1/wrenfold-render.1.gz bin/wrenfold-render bin/wrenfold-info \
  bin/wrenfold-snapshot bin/wrenfold-preview; do
  [ -f "$prefix/$file" ] || fail "cmake --install puts no $file"
done
"$prefix/bin/wrenfold-render" --stats "$work/clone-demo.wav" || fail "the installed wrenfold-render does not render"
echo "PASS"
