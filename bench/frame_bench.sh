#!/bin/sh
# Frame figures under a private Xvfb at 640 x 480: frame_bench's medians, then
# the demo's own ticks per second (its presented frames, counted by an
# LD_PRELOAD shim) and a plain freeglut program's frame rate, alternating.
# Usage: bench/frame_bench.sh [BUILD_DIR] [ROUNDS] [SECONDS]
set -eu
bin="$(cd "${1:-build}" && pwd)/bin"
rounds="${2:-3}"
seconds="${3:-10}"

. "$(dirname "$0")/../scripts/private-xvfb.sh"
StartPrivateXvfb
trap 'kill $XVFB_PID 2>/dev/null' EXIT

"$bin/frame_bench"

for round in $(seq 1 "$rounds"); do
    err=$(mktemp)
    LD_PRELOAD="$bin/libframe_counter.so" "$bin/boulles" 2>"$err" &
    demo=$!
    sleep $((seconds + 1))
    xdotool keydown Escape sleep 0.1 keyup Escape
    wait $demo || true
    echo "round $round demo (ticks): $(cat "$err")"
    rm -f "$err"
    echo "round $round $("$bin/glut_scene" "$seconds")"
done
