#!/usr/bin/env bash
# What `./run package` left in out/, as a user gets it (run as root): no lintian error; apt installs
# the .deb; from /usr/bin the tools find the module in /usr/lib/vst, and `man` their pages; lv2ls
# lists the LV2 bundle of /usr/lib/lv2; Ardour finds the module; apt removes every file. The Windows archive holds exactly its files and
# DLLs that export what their bitness must. Last, the README's install from a fresh clone. The
# machine is left as it was, also on failure: a wrenfold package installed before is put back and
# what the install pulled in is removed.
set -euo pipefail
cd "$(dirname "$0")/../.."
source_dir=$(pwd)
version=$(sed -n 's/^project(wrenfold VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb=$source_dir/out/wrenfold_${version}_amd64.deb zip=$source_dir/out/wrenfold-${version}-windows.zip
work=$(mktemp -d) saved="" saved_auto=""
# Minimal images keep dpkg from installing manual pages; this lets ours in while the test runs.
man_include=/etc/dpkg/dpkg.cfg.d/zz-wrenfold-test-manual-pages

apt_get() { DEBIAN_FRONTEND=noninteractive apt-get -y -qq "$@" </dev/null >/dev/null; }
installed_packages() { dpkg-query -W -f '${db:Status-Abbrev} ${binary:Package}\n' | awk '$1 == "ii" { print $2 }' | sort; }
wrenfold_status() { dpkg-query -W -f '${db:Status-Status}' wrenfold 2>/dev/null || true; }
fail() { echo "FAIL: $*"; exit 1; }

restore() {
  local status=$? pulled
  set +e
  cd "$source_dir"
  case $(wrenfold_status) in "" | not-installed) ;; *) apt_get purge wrenfold ;; esac
  pulled=$(comm -13 "$work/before" <(installed_packages))
  # shellcheck disable=SC2086
  [ -z "$pulled" ] || apt_get purge $pulled
  if [ -n "$saved" ]; then
    apt_get install "$saved" && echo "the wrenfold package installed before is back"
    [ -z "$saved_auto" ] || apt-mark auto wrenfold >/dev/null
  fi
  rm -rf "$man_include" "$work"
  exit "$status"
}
trap restore EXIT
trap 'exit 1' INT TERM HUP

if [ "$(wrenfold_status)" = installed ]; then
  saved_auto=$(apt-mark showauto wrenfold)
  (mkdir "$work/saved" && cd "$work/saved" && dpkg-repack wrenfold >/dev/null)
  saved=$(echo "$work"/saved/wrenfold_*.deb)
  apt_get remove wrenfold
fi
installed_packages >"$work/before"
if grep -qrs '^path-exclude=/usr/share/man' /etc/dpkg/dpkg.cfg.d/; then
  printf '%s\n' 'path-include=/usr/share/man/man1/wrenfold-*' 'path-include=/usr/share/man/man7/wrenfold.*' >"$man_include"
fi

echo "== lintian $deb"
lintian --fail-on error "$deb" 2>&1 | grep -v 'root privileges' || [ "${PIPESTATUS[0]}" -eq 0 ] || fail "lintian"

echo "== apt-get install $deb, then the tools from /usr/bin with the module of /usr/lib/vst"
apt_get install "$deb"
dpkg -L wrenfold >"$work/files"
mkdir "$work/home" && cd "$work"
export HOME=$work/home && unset VST_PATH LXVST_PATH
[ "$(/usr/bin/wrenfold-render --version)" = "wrenfold-render $version" ] || fail "wrenfold-render --version"
/usr/bin/wrenfold-info >info
name=$(sed -n 's/^effect: //p' info) parameters=$(sed -n 's/^record: .* \([0-9]*\) parameters.*/\1/p' info)
/usr/bin/wrenfold-render --stats demo.wav && [ -s demo.wav ] || fail "wrenfold-render does not render"
[ "$(head -n 1 info)" = "module: /usr/lib/vst/wrenfold.so" ] || fail "wrenfold-info names $(head -n 1 info)"
for tool in wrenfold-render wrenfold-info wrenfold-snapshot wrenfold-preview; do
  [ "$(man -w $tool)" = "/usr/share/man/man1/$tool.1.gz" ] || fail "man -w $tool"
  man $tool | grep -q '^EXAMPLES' || fail "man $tool has no examples"
done
[ "$(man -w 7 wrenfold)" = /usr/share/man/man7/wrenfold.7.gz ] || fail "man -w 7 wrenfold"
# The plug-in's page names every parameter and program the installed module answers.
sed -n '/^parameters of program/,$s/^  [0-9][0-9]* *\([A-Za-z]*\) .*/\1/p;/^programs:/,/^parameters/s/^  [0-9]  //p' info >names
[ "$(wc -l <names)" -eq 25 ] || fail "wrenfold-info listed $(wc -l <names) parameters and programs"
while read -r entry; do
  MANWIDTH=200 man 7 wrenfold | grep -qF -- "$entry" || fail "man 7 wrenfold does not name '$entry'"
done <names
[ -f /usr/share/doc/wrenfold/README ] && [ ! -e /usr/share/doc/wrenfold/README.md ] || fail "the user's README"

echo "== LV2 hosts find the bundle in /usr/lib/lv2"
env -u LV2_PATH lv2ls | grep -qx 'urn:wrenfold:delay' || fail "lv2ls does not list urn:wrenfold:delay"
grep -qx /usr/lib/lv2/wrenfold.lv2/wrenfold.so "$work/files" || fail "no /usr/lib/lv2/wrenfold.lv2/wrenfold.so"

echo "== Ardour, with its own search path, finds and loads /usr/lib/vst/wrenfold.so"
. "$source_dir/tests/integration/ardour-common.sh"
ardour_require_installed
ardour_private_setup "$work/ardour"
ardour_module=/usr/lib/vst/wrenfold.so
ardour_scan "$name"
mkdir "$work/ardour/config/ardour7/scripts"
cp "$source_dir/tests/integration/impulse.lua" "$work/ardour/config/ardour7/scripts/wrenfold-test-impulse.lua"
WRENFOLD_ARDOUR_WORK=$work/ardour WRENFOLD_ARDOUR_SCRIPTS=$source_dir/tests/integration \
  WRENFOLD_ARDOUR_MODULE=$ardour_module WRENFOLD_PLUGIN_NAME=$name WRENFOLD_PLUGIN_PARAMETERS=$parameters \
  timeout 120 ardour7-lua "$source_dir/tests/integration/session.lua" >ardour.log 2>&1 || { cat ardour.log; fail Ardour; }
grep -E '^(LISTED|LOADED)' ardour.log

echo "== apt-get remove wrenfold"
apt_get remove wrenfold
case $(wrenfold_status) in "" | not-installed) ;; *) fail "dpkg still holds wrenfold: $(wrenfold_status)" ;; esac
while read -r path; do
  if [ -d "$path" ]; then [ -n "$(ls -A "$path")" ]; else ! [ -e "$path" ] && ! [ -L "$path" ]; fi ||
    fail "left behind: $path"
done <files

echo "== $zip"
folder=wrenfold-$version
[ "$(unzip -Z1 "$zip" | sort | xargs)" = "$folder/LICENSE.txt $folder/README.txt $folder/x64/wrenfold.dll $folder/x86/wrenfold.dll" ] ||
  fail "the archive holds $(unzip -Z1 "$zip" | xargs)"
unzip -q "$zip" -d zip
sh "$source_dir/tests/windows/check-exports.sh" x86_64-w64-mingw32-objdump "zip/$folder/x64/wrenfold.dll" main VSTPluginMain
sh "$source_dir/tests/windows/check-exports.sh" i686-w64-mingw32-objdump "zip/$folder/x86/wrenfold.dll" main

echo "== Installing for a host, from a fresh clone"
git -c safe.directory='*' clone -q "$source_dir" clone && cd clone
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
! grep -q '^GTest_DIR' build/CMakeCache.txt || fail "a plain configure looks for GoogleTest"
CCACHE_BASEDIR=$work cmake --build build -j2 >"$work/build.log" || { tail -n 30 "$work/build.log"; fail "the build"; }
[ ! -e build/tests ] || fail "a plain build builds the tests"
DESTDIR=$work/stage cmake --install build >/dev/null
for file in share/man/man1/wrenfold-render.1.gz bin/wrenfold-info bin/wrenfold-snapshot bin/wrenfold-preview; do
  [ -f "$work/stage/usr/local/$file" ] || fail "cmake --install puts no $file"
done
"$work/stage/usr/local/bin/wrenfold-render" --stats "$work/clone-demo.wav" || fail "the installed tree does not render"
echo PASS
