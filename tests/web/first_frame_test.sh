#!/bin/sh
# The page's first picture against the native program's first picture on a
# private Xvfb: same balls, same places, same shading.
#   first_frame_test.sh NATIVE_BOULLES PAGE_DIRECTORY
# Tolerance: at most 1 % of the pixels either picture draws on may differ by
# more than 5 % (13 of 255 levels) in a channel. SwiftShader and llvmpipe
# rasterise silhouette edges a little differently (a few dozen pixels here);
# a ball one pixel off, or shading 10 % darker, changes thousands.
set -u
native=$1
page_directory=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
XVFB_PID=""
trap '[ -z "$XVFB_PID" ] || kill "$XVFB_PID"; rm -rf "$work"' EXIT

fail() { echo "FAIL: $*"; exit 1; }

if [ ! -x "$native" ]; then
    echo "SKIPPED: no native program at $native (build the ci preset first)"
    exit 77
fi
for tool in Xvfb cc /usr/bin/compare /usr/bin/convert; do
    command -v "$tool" >/dev/null || fail "$tool is missing"
done

cc -shared -fPIC -o "$work/shim.so" "$here/../support/shims/first_frame.c" -lGL || fail "the shim does not build"
. "$here/../../scripts/private-xvfb.sh"
StartPrivateXvfb
# Two minutes are for a hang: the first frame comes however busy the machine is.
timeout 120 env FIRST_FRAME_PPM="$work/native.ppm" LD_PRELOAD="$work/shim.so" "$native" ||
    fail "the native program did not write its first frame"
kill "$XVFB_PID"
XVFB_PID=""
# Headless Chromium needs no display, and must not try the one just stopped.
env -u DISPLAY node "$here/page_test.js" first-frame "$page_directory" "$work/page.png" || fail "no first frame from the page"

# Pixels that differ by more than the fuzz, out of those either picture draws on.
Differing() { compare -metric AE -fuzz 5% "$1" "$2" null: 2>&1 >/dev/null | cut -d' ' -f1; }
Drawn() {
    convert "$1" "$2" -compose lighten -composite -fill white +opaque black -format '%[fx:mean*w*h]' info:
}
drawn=$(Drawn "$work/page.png" "$work/native.ppm")
differing=$(Differing "$work/page.png" "$work/native.ppm")
limit=$(awk -v d="$drawn" 'BEGIN { printf "%d", d / 100 }')
echo "pixels drawn: $drawn; differing by more than 5 %: $differing (limit $limit)"
[ "$drawn" -gt 5000 ] || fail "too little drawn to compare"
[ "$differing" -le "$limit" ] || fail "the first frames differ"
# Negative control: the page's picture one pixel to the right must fail.
convert "$work/page.png" -roll +1+0 "$work/shifted.png"
shifted=$(Differing "$work/shifted.png" "$work/native.ppm")
echo "one pixel off: $shifted differing"
[ "$shifted" -gt "$limit" ] || fail "the comparison cannot see a one-pixel shift"
echo "the first frames agree"
