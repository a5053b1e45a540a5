#!/usr/bin/env bash
# run-under-xvfb.sh PROGRAM [ARGS...]: runs PROGRAM on a private Xvfb server (24-bit screen, no TCP)
# started on the first free display number, and stops the server afterwards.
set -euo pipefail
exec xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24 -nolisten tcp" "$@"
