#!/bin/sh
# Instructions per stereo frame of the plain reference loop, the effect's scalar loop and its
# two-lane loop, normal (program 0) and reverse (program 2) mode, blocks of 64 and 512 frames,
# counted by callgrind. Each case renders FRAMES and then 2 x FRAMES frames; the difference of the
# two counts divided by FRAMES leaves out start-up and construction.
# Usage: bench/callgrind-processing.sh [WRENFOLD_BENCH [FRAMES]]
set -eu
bench=${1:-build/bench/wrenfold-bench}
frames=${2:-65536}
command -v valgrind >/dev/null || { echo "callgrind-processing.sh: valgrind is not installed" >&2; exit 1; }
[ -x "$bench" ] || { echo "callgrind-processing.sh: no benchmark at $bench; build wrenfold-bench" >&2; exit 1; }

# Prints the instructions callgrind counts for one untimed render.
count() {
  valgrind --tool=callgrind --callgrind-out-file=/dev/null "$bench" --frames "$@" 2>&1 |
    sed -n 's/.*Collected : \([0-9]*\).*/\1/p'
}

printf '%-10s %-8s %6s %18s\n' loop mode block 'instructions/frame'
for loop in reference scalar two-lane; do
  for program in 0 2; do
    if [ "$program" = 0 ]; then mode=normal; else mode=reverse; fi
    for block in 64 512; do
      once=$(count "$loop" "$program" "$block" "$frames")
      twice=$(count "$loop" "$program" "$block" $((2 * frames)))
      awk -v a="$once" -v b="$twice" -v n="$frames" -v l="$loop" -v m="$mode" -v k="$block" \
        'BEGIN { printf "%-10s %-8s %6d %18.2f\n", l, m, k, (b - a) / n }'
    done
  done
done
