#!/bin/sh
# Installs what the build needs, builds, and starts the demo. On a machine
# without a display (DISPLAY unset) it starts a private Xvfb, lets the demo run
# a few seconds, shows the axes, saves a screenshot, presses Esc and reports
# the exit code.
set -eu
cd "$(dirname "$0")/.."
. scripts/packages.sh
if [ -n "${DISPLAY:-}" ]; then
    sh scripts/install-deps.sh $BUILD_PACKAGES
else
    sh scripts/install-deps.sh $BUILD_PACKAGES $HEADLESS_PACKAGES
fi
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc 2>/dev/null || echo 2)"

if [ -n "${DISPLAY:-}" ]; then
    exec ./build/bin/boulles
fi

screenshot="$PWD/build/boulles-screenshot.png"
. scripts/private-xvfb.sh
StartPrivateXvfb
trap 'kill $XVFB_PID 2>/dev/null' EXIT

echo "No display: running the demo on a private Xvfb ($DISPLAY) for a few seconds."
./build/bin/boulles &
demo=$!
sleep 3
xdotool keydown KP_Multiply sleep 0.2 keyup KP_Multiply  # show the axes
sleep 1
import -window root -crop 640x480+0+0 "$screenshot"
echo "Screenshot: $screenshot"
xdotool keydown Escape sleep 0.1 keyup Escape
status=0
wait $demo || status=$?
echo "The demo ended on Esc with exit code $status."
exit $status
