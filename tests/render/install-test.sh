#!/bin/sh
# Installs the build tree into a scratch prefix and checks that the module lands in the prefix's
# vst folder and that the installed wrenfold-render and wrenfold-info find it there without being
# told where, and that the plug-in's manual page names what the module lists.
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
# The plug-in's page names every program and parameter the installed module lists.
page=$(find "$prefix" -name wrenfold.7.gz)
HOME="$prefix" "$prefix/bin/wrenfold-info" "$module" |
  sed -n '/^parameters of program/,$s/^  [0-9][0-9]* *\([A-Za-z]*\) .*/\1/p;/^programs:/,/^parameters/s/^  [0-9]  //p' |
  while read -r entry; do
    gzip -dc "$page" | grep -qF -- "$entry" || { echo "FAIL: wrenfold(7) does not name '$entry'"; exit 1; }
  done
rm -rf "$prefix"
