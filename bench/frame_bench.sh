#!/bin/sh
# Frame figures under a private Xvfb at 640 x 480: frame_bench's medians, then
# the demo's own ticks per second (its presented frames, counted by an
# LD_PRELOAD shim) and a plain freeglut program's frame rate, alternating.
# Usage: bench/frame_bench.sh [BUILD_DIR] [ROUNDS] [SECONDS]
set -eu
bin="$(cd "${1:-build}" && pwd)/bin"
rounds="${2:-3}"
seconds="${3:-10}"

fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -f "$fifo"' EXIT
read -r number <"$fifo"
export DISPLAY=":$number"

"$bin/frame_bench"

for round in $(seq 1 "$rounds"); do
    err=$(mktemp)
    LD_PRELOAD="$bin/libswap_counter.so" "$bin/boulles" 2>"$err" &
    demo=$!
    sleep $((seconds + 1))
    xdotool keydown Escape sleep 0.1 keyup Escape
    wait $demo || true
    echo "round $round demo (ticks): $(cat "$err")"
    rm -f "$err"
    echo "round $round $("$bin/glut_scene" "$seconds")"
done
