#!/bin/sh
# Installs the build tree into a scratch prefix and checks that the module lands in the prefix's
# vst folder and that the installed wrenfold-render and wrenfold-info find it there without being
# told where, that the plug-in's manual page names what the module lists, and that the LV2 bundle
# lands in lib/lv2/wrenfold.lv2.
# usage: install-test.sh BUILD-DIR PREFIX EFFECT-NAME
set -eu
build=$1 prefix=$2 effect=$3
rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
module=$(find "$prefix" -path '*/lib*/vst/wrenfold.so')
if [ -z "$module" ]; then
  echo "FAIL: no lib/vst/wrenfold.so under $prefix"
  exit 1
fi
echo "installed $module"
name=$(env -u LXVST_PATH -u VST_PATH HOME="$prefix" "$prefix/bin/wrenfold-render" --list | head -n 2)
if [ "$name" != "module: $module
$effect" ]; then
  echo "FAIL: the installed wrenfold-render did not find the installed module"
  exit 1
fi
name=$(env -u LXVST_PATH -u VST_PATH HOME="$prefix" "$prefix/bin/wrenfold-info" | sed -n 2p)
if [ "$name" != "effect: $effect" ]; then
  echo "FAIL: the installed wrenfold-info did not find the installed module"
  exit 1
fi
bundle=$prefix/lib/lv2/wrenfold.lv2
for file in manifest.ttl wrenfold.ttl presets.ttl wrenfold.so; do
  [ -f "$bundle/$file" ] || { echo "FAIL: no $file in $bundle"; exit 1; }
done
# The bundle is valid LV2 and shows its 24 ports and 5 presets, where the LV2 tools are installed.
if command -v lv2_validate >/dev/null && command -v lv2info >/dev/null; then
  lv2_validate "$bundle"/*.ttl 2>&1 | grep -q '^Found 0 errors' || { lv2_validate "$bundle"/*.ttl; exit 1; }
  info=$(LV2_PATH=$prefix/lib/lv2:/usr/lib/lv2 lv2info urn:wrenfold:delay 2>/dev/null)
  ports=$(echo "$info" | grep -c '^	Port [0-9]*:$') presets=$(echo "$info" | sed -n '/^	Presets:/,/^	[A-Z]/p' | grep -c '^	 *[a-z]')
  [ "$ports" = 24 ] && [ "$presets" = 5 ] || { echo "FAIL: lv2info shows $ports ports and $presets presets"; exit 1; }
  echo "LV2 bundle: valid, 24 ports, 5 presets"
fi
# The plug-in's page names every program and parameter the installed module lists.
page=$(find "$prefix" -name wrenfold.7.gz)
HOME="$prefix" "$prefix/bin/wrenfold-info" "$module" |
  sed -n '/^parameters of program/,$s/^  [0-9][0-9]* *\([A-Za-z]*\) .*/\1/p;/^programs:/,/^parameters/s/^  [0-9]  //p' |
  while read -r entry; do
    gzip -dc "$page" | grep -qF -- "$entry" || { echo "FAIL: wrenfold(7) does not name '$entry'"; exit 1; }
  done
rm -rf "$prefix"
