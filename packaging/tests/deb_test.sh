#!/bin/sh
# Makes the .deb from a finished build, unpacks it into a temporary root and
# runs what it installed from there.
# Usage: deb_test.sh BUILD_DIR
set -u
build="$1"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cpack --config "$build/CPackConfig.cmake" -B "$root/out" >"$root/cpack.log" 2>&1 ||
    { cat "$root/cpack.log"; fail "cpack"; exit 1; }
deb=$(ls "$root"/out/*.deb)
dpkg-deb -x "$deb" "$root/installed"

depends=$(dpkg-deb -f "$deb" Depends)
for library in libx11-6 libstdc++6; do
    echo "$depends" | grep -q "$library" || fail "Depends lacks $library: $depends"
done
echo "$depends" | grep -Eq 'libgl1|libopengl0' || fail "Depends lacks OpenGL: $depends"
echo "$depends" | grep -q 'libglu1' || fail "Depends lacks GLU: $depends"

[ -x "$root/installed/usr/bin/boulles" ] || fail "no usr/bin/boulles"
desktop="$root/installed/usr/share/applications/boulles.desktop"
grep -qx 'Name=De belles boulles bleus' "$desktop" || fail "desktop entry name"
grep -qx 'Categories=Game;Simulation;' "$desktop" || fail "desktop entry categories"
[ -s "$root/installed/usr/share/icons/hicolor/scalable/apps/boulles.svg" ] || fail "no icon"

first=$("$root/installed/usr/bin/ball-trace" 1 | head -n 1)
[ "$first" = "0 3e0357a6 bc8a89b1 3e49ac4c c41950da 42fe4eb4 c479533c c419590f 42fe575d c4795fd7 00000000 00000000 3eebf32e 421c00a3 4321bf83 42ea00f4" ] ||
    fail "installed ball-trace 1 printed: $first"

[ "$failures" -eq 0 ] && echo "package $(basename "$deb") ($(wc -c <"$deb") bytes) installs and runs"
exit "$failures"
