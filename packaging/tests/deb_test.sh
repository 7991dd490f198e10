#!/bin/sh
# Makes the .deb from a finished build, passes it through Debian's package
# checker and the desktop entry and AppStream validators, unpacks it into a
# temporary root and runs what it installed from there.
# Usage: deb_test.sh BUILD_DIR
set -u
build="$1"
root=$(mktemp -d)
XVFB_PID="" demo_pid=""
trap '[ -z "$demo_pid" ] || kill "$demo_pid"; [ -z "$XVFB_PID" ] || kill "$XVFB_PID"; rm -rf "$root"' EXIT
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

# Every tag fails, information ones too: each is fixed. The overridden one shows
# that lintian read the package.
lintian --info --pedantic --show-overrides "$deb" >"$root/lintian.log" 2>&1
if grep -q '^[EWIP]:' "$root/lintian.log" || ! grep -q '^O: ' "$root/lintian.log"; then
    cat "$root/lintian.log"; fail "lintian found something"
fi
shared="$root/installed/usr/share"
desktop-file-validate "$shared/applications/boulles.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$shared"/metainfo/*.metainfo.xml || fail "appstreamcli validate"

[ -x "$root/installed/usr/bin/boulles" ] || fail "no usr/bin/boulles"
desktop="$root/installed/usr/share/applications/boulles.desktop"
grep -qx 'Name=De belles boulles bleus' "$desktop" || fail "desktop entry name"
grep -qx 'Categories=Game;Simulation;' "$desktop" || fail "desktop entry categories"
[ -s "$root/installed/usr/share/icons/hicolor/scalable/apps/boulles.svg" ] || fail "no icon"

first=$("$root/installed/usr/bin/ball-trace" 1 | head -n 1)
[ "$first" = "0 3e0357a6 bc8a89b1 3e49ac4c c41950da 42fe4eb4 c479533c c419590f 42fe575d c4795fd7 00000000 00000000 3eebf32e 421c00a3 4321bf83 42ea00f4" ] ||
    fail "installed ball-trace 1 printed: $first"

# A dock ties the window to the entry whose StartupWMClass is its WM_CLASS.
. "$(dirname "$0")/../../scripts/private-xvfb.sh"
StartPrivateXvfb
"$root/installed/usr/bin/boulles" &
demo_pid=$!
deadline=$(($(date +%s) + 120))
until window=$(xdotool search --name '^De belles boulles bleus$' 2>/dev/null | head -n 1) && [ -n "$window" ]; do
    [ "$(date +%s)" -lt "$deadline" ] && kill -0 "$demo_pid" || break
    sleep 0.1
done
wm_class=$(xprop -id "${window:-0}" WM_CLASS 2>/dev/null)
startup_class=$(sed -n 's/^StartupWMClass=//p' "$desktop")
[ "$wm_class" = "WM_CLASS(STRING) = \"$startup_class\", \"$startup_class\"" ] ||
    fail "the window's $wm_class is not the desktop entry's StartupWMClass $startup_class"

[ "$failures" -eq 0 ] && echo "package $(basename "$deb") ($(wc -c <"$deb") bytes) installs and runs"
exit "$failures"
