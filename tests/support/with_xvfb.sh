#!/usr/bin/env bash
# Runs a command on a private Xvfb display (with openbox when --wm is given), then stops them.
# Usage: with_xvfb.sh [--wm] COMMAND [ARGS...]
set -euo pipefail
wm=0
if [ "${1:-}" = "--wm" ]; then wm=1; shift; fi

for tool in Xvfb; do
    command -v "$tool" >/dev/null || { echo "with_xvfb.sh: $tool is missing (apt-get install xvfb)" >&2; exit 1; }
done

fifo=$(mktemp -u); mkfifo "$fifo"
Xvfb -displayfd 4 -screen 0 1280x1024x24 -nolisten tcp 4>"$fifo" >/dev/null 2>&1 &
xvfb=$!
read -r display < "$fifo"; rm -f "$fifo"
export DISPLAY=":$display"
pids=("$xvfb")
cleanup() { kill "${pids[@]}" 2>/dev/null || true; wait 2>/dev/null || true; }
trap cleanup EXIT

if [ "$wm" = 1 ]; then
    command -v openbox >/dev/null || { echo "with_xvfb.sh: openbox is missing" >&2; exit 1; }
    openbox >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done
fi
export QT_QPA_PLATFORM=xcb
"$@"
