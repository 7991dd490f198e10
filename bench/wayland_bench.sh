#!/bin/sh
# Ticks per second on Wayland: the demo (its presented frames, counted by an
# LD_PRELOAD shim) and a plain EGL program of the same scene, egl_scene, side by
# side under a private headless sway at 640 x 480, alternating; then the demo's
# figure under a private Xvfb from the same build. sway refuses root: as root it
# runs as nobody.
# Usage: bench/wayland_bench.sh [BUILD_DIR] [ROUNDS] [SECONDS]
set -eu
bin="$(cd "${1:-build}" && pwd)/bin"
rounds="${2:-3}"
seconds="${3:-10}"

runtime=$(mktemp -d)
printf 'xwayland disable\nfor_window [app_id="boulles"] floating enable\n' >"$runtime/config"
chmod 700 "$runtime"
chmod 644 "$runtime/config"
as_user=""
if [ "$(id -u)" = 0 ]; then
    chown nobody "$runtime"
    as_user="setpriv --reuid=65534 --regid=65534 --clear-groups"
fi
export XDG_RUNTIME_DIR="$runtime"
WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
    $as_user sway -c "$runtime/config" 2>/dev/null &
sway=$!
trap 'kill $sway 2>/dev/null; rm -rf "$runtime"' EXIT
deadline=$(($(date +%s) + 120))
until ls "$runtime" | grep -q '^sway-ipc'; do
    [ "$(date +%s)" -lt "$deadline" ] && kill -0 "$sway" 2>/dev/null ||
        { echo "sway did not start" >&2; exit 1; }
    sleep 0.1
done
export WAYLAND_DISPLAY=$(ls "$runtime" | grep '^wayland-[0-9]*$')
ipc="$runtime/$(ls "$runtime" | grep '^sway-ipc')"

Demo() {  # ticks per second of the demo where the environment says
    err=$(mktemp)
    LD_PRELOAD="$bin/libframe_counter.so" "$bin/boulles" 2>"$err" &
    demo=$!
    sleep $((seconds + 1))
    "$@"
    wait $demo || true
    cat "$err"
    rm -f "$err"
}

for round in $(seq 1 "$rounds"); do
    demo=$(Demo swaymsg -q -s "$ipc" "[app_id=boulles] kill")
    plain=$("$bin/egl_scene" "$seconds")
    echo "round $round wayland demo (ticks): $demo"
    echo "round $round wayland $plain"
    awk -v d="$demo" -v p="$plain" 'BEGIN {
        split(d, a, "= "); split(p, b, "= ");
        printf "round %s wayland demo / plain: %.3f\n", '"$round"', a[2] / b[2] }'
done

kill $sway
unset WAYLAND_DISPLAY
. "$(dirname "$0")/../scripts/private-xvfb.sh"
StartPrivateXvfb
trap 'kill $XVFB_PID 2>/dev/null; rm -rf "$runtime"' EXIT
echo "x11 demo (ticks): $(Demo xdotool keydown Escape sleep 0.1 keyup Escape)"
