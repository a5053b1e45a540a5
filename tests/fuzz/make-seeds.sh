#!/usr/bin/env bash
# Regrows the committed seed corpus: fuzzes from the current seeds for a while (default 120 s),
# then keeps the smallest set of inputs that reaches the same coverage.
# usage: tests/fuzz/make-seeds.sh BUILD-FUZZ-DIR [SECONDS]
set -euo pipefail
fuzzer=$1/tests/fuzz/wrenfold_host_fuzzer
seconds=${2:-120}
seeds=$(cd "$(dirname "$0")" && pwd)/corpus
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/grown" "$scratch/kept"
# A run that trips an invariant stops early; what it grew until then is still kept.
"$fuzzer" -seed=1 -max_len=256 -max_total_time="$seconds" -artifact_prefix="$scratch/" \
  "$scratch/grown" "$seeds" || true
"$fuzzer" -merge=1 "$scratch/kept" "$seeds" "$scratch/grown"
rm -f "$seeds"/*
cp "$scratch/kept"/* "$seeds"/
echo "$(ls "$seeds" | wc -l) seeds in $seeds"
