#!/usr/bin/env bash
# run-under-xvfb.sh PROGRAM [ARGS...]: runs PROGRAM on a private Xvfb server (24-bit screen, or the
# depth XVFB_DEPTH names; local socket only) and stops the server afterwards. The server picks a free display number itself
# (-displayfd), so several runs on one machine never race for the same number; -noreset keeps it
# from resetting, and refusing connections meanwhile, each time its last client disconnects.
set -euo pipefail

folder=$(mktemp -d)
server=
cleanup() {
  if [ -n "$server" ]; then
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
  fi
  rm -rf "$folder"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 "1280x1024x${XVFB_DEPTH:-24}" -nolisten tcp -noreset 3>"$folder/display" 2>"$folder/server.log" &
server=$!
for _ in $(seq 100); do
  [ -s "$folder/display" ] && break
  if ! kill -0 "$server" 2>/dev/null; then
    cat "$folder/server.log" >&2
    echo "run-under-xvfb: Xvfb did not start" >&2
    exit 1
  fi
  sleep 0.1
done
if [ ! -s "$folder/display" ]; then
  echo "run-under-xvfb: Xvfb gave no display number" >&2
  exit 1
fi
DISPLAY=:$(tr -d '[:space:]' <"$folder/display") "$@"
