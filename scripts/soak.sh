#!/bin/sh
# Soak: runs the demo on a private Xvfb for MINUTES with keypad presses and
# left-button drags injected now and then, samples its resident memory and
# open descriptors every few seconds, then presses Esc. Prints first / last /
# max of each, the growth after a warm-up (peak of the last half against the
# peak before it) and the ticks per second (presented frames, counted by the
# swap counter shim). Fails on a crash, a hang on Esc,
# a non-zero exit code, or growth of 1 % or more after the warm-up.
# Usage: scripts/soak.sh MINUTES [BUILD_DIR]
set -eu
if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: $0 MINUTES [BUILD_DIR]" >&2
    exit 2
fi
minutes="$1"
bin="$(cd "${2:-build}" && pwd)/bin"
# Every Linux build of the demo has the shim beside it; without it the ticks go uncounted.
if [ ! -f "$bin/libframe_counter.so" ]; then
    echo "no $bin/libframe_counter.so: build the demo there first (scripts/run.sh builds build/)" >&2
    exit 2
fi
interval=5                           # seconds between samples
duration=$((minutes * 60))
warmup=$((duration / 5 < 60 ? duration / 5 : 60))  # start-up allocations settle in this time

work=$(mktemp -d)
samples="$work/samples"
. "$(dirname "$0")/private-xvfb.sh"
StartPrivateXvfb
demo=
cleanup() {
    [ -n "$demo" ] && kill "$demo" 2>/dev/null
    kill "$XVFB_PID" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# --- input ---

Hold() {
    xdotool keydown "$1" sleep 0.3 keyup "$1"
}

# A left-button drag through XTest inside the window (at 0,0, 640 x 480).
Drag() {
    xdotool mousemove 200 240 mousedown 1
    for x in 240 280 320 360 400; do
        xdotool sleep 0.05 mousemove "$x" "$1"
    done
    xdotool mouseup 1
}

# One action per sample, in turn; + and - are held equally long so the zoom
# wanders but does not drift off.
Inject() {
    case $(($1 % 6)) in
    0) Hold KP_Add ;;
    1) Hold KP_Multiply ;;
    2) Drag 200 ;;
    3) Hold KP_Subtract ;;
    4) Hold KP_Divide ;;
    5) Drag 280 ;;
    esac
}

# --- sampling ---

Sample() {
    rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$demo/status" 2>/dev/null) || return 1
    fds=$(ls "/proc/$demo/fd" 2>/dev/null | wc -l) || return 1
    [ -n "$rss" ] || return 1
    echo "$1 $rss $fds" >>"$samples"
    echo "t=${1}s rss=${rss}kB fds=$fds"
}

# --- run ---

echo "Soak: ${minutes} min on $DISPLAY, a sample every ${interval} s, warm-up ${warmup} s."
LD_PRELOAD="$bin/libframe_counter.so" "$bin/boulles" 2>"$work/stderr" &
demo=$!
start=$(date +%s)
round=0
crashed=0
while :; do
    now=$(($(date +%s) - start))
    [ "$now" -lt "$duration" ] || break
    if ! kill -0 "$demo" 2>/dev/null || ! Sample "$now"; then
        crashed=1
        break
    fi
    Inject "$round" || true
    round=$((round + 1))
    sleep "$interval"
done

status=0
if [ "$crashed" -eq 1 ]; then
    wait "$demo" || status=$?
    demo=
    echo "FAIL: the demo ended during the soak (exit status $status)."
    cat "$work/stderr"
    exit 1
fi
xdotool keydown Escape sleep 0.2 keyup Escape
# Esc must end it promptly; a demo still running after ten seconds is killed.
for _ in $(seq 1 100); do
    kill -0 "$demo" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$demo" 2>/dev/null && kill -9 "$demo"
wait "$demo" || status=$?
demo=

# --- report ---

verdict=0
awk -v warmup="$warmup" -v duration="$duration" '
    # RSS dips whenever freed memory goes back to the system, so growth compares
    # the peaks of the two halves after the warm-up: a leak raises the second.
    function Report(name, unit, c,    growth) {
        growth = 100 * (peak2[c] - peak1[c]) / peak1[c]
        printf "%s: first %d%s, last %d%s, max %d%s; peak after warm-up %d%s, in the last half %d%s: growth %.2f %%\n",
            name, first[c], unit, last[c], unit, max[c], unit, peak1[c], unit, peak2[c], unit, growth
        if (growth >= 1) failed = 1
    }
    {
        for (c = 2; c <= 3; ++c) {
            if (NR == 1) first[c] = $c
            if ($c > max[c]) max[c] = $c
            last[c] = $c
            if ($1 >= warmup && $1 < (warmup + duration) / 2 && $c > peak1[c]) peak1[c] = $c
            if ($1 >= (warmup + duration) / 2 && $c > peak2[c]) peak2[c] = $c
        }
        n = NR
    }
    END {
        if (!(2 in peak1) || !(2 in peak2)) { print "FAIL: too few samples after the warm-up"; exit 1 }
        printf "samples: %d\n", n
        Report("resident memory", " kB", 2)
        Report("open descriptors", "", 3)
        if (failed) { print "FAIL: growth of 1 % or more after the warm-up"; exit 1 }
    }' "$samples" || verdict=1

echo "ticks: $(grep '^swaps:' "$work/stderr" || echo 'no count (the shim printed nothing)')"
echo "exit code on Esc: $status"
grep -v '^swaps:' "$work/stderr" || true
[ "$status" -eq 0 ] && [ "$verdict" -eq 0 ]
