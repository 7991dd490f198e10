#!/bin/sh
# boulles.exe end to end under Wine, on an X server of its own (Xvfb picks the
# display number). WINEPREFIX comes from the caller.
#   wine_e2e.sh escape EXE  window, blue balls, keypad * and / show and hide the axes, Esc: exit 0
#   wine_e2e.sh alt_f4 EXE  Alt+F4: exit 0
#   wine_e2e.sh zoom EXE    the main keyboard's = (its + key) held and the wheel zoom
#   wine_e2e.sh no_glx EXE  no GLX on the server: the message box, Enter: exit 1
#   wine_e2e.sh dpi EXE     the outer size is 640x480 logical pixels: 960x720 at 144 DPI, 640x480 at 96
#                           (Wine 8 makes every program DPI-aware: this is the program's own scaling)
set -u
scenario=$1
exe=$2
caption="De belles boulles bleus"
box_caption="Problème"
# Wine's own trace of the message box text, decoded from the ANSI code page.
box_text_trace='MSGBOX_OnInit L"Mode graphique non support\00e9."'

work=$(mktemp -d)
xvfb_pid="" program_pid=""
# Every wait polls for what the program does and gives up only when a hang
# would: how fast Wine and the program run depends on how busy the machine is.
hang_seconds=120

fail() {
    echo "FAIL ($scenario): $*"
    [ ! -s "$work/wine.log" ] || { echo "--- wine's output:"; cat "$work/wine.log"; }
    exit 1
}

cleanup() {
    # The prefix is shared: it goes back to Wine's 96 DPI.
    [ "$scenario" != dpi ] || SetLogPixels 96
    [ -z "$program_pid" ] || { kill "$program_pid" 2>/dev/null; wait "$program_pid" 2>/dev/null; }
    # Let Wine's desktop process end while its display still exists; the
    # prefix's processes are all this test's own.
    timeout "$hang_seconds" wineserver --wait 2>/dev/null || wineserver --kill
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# ImageMagick by its full path: another "import" may come first on PATH.
for tool in Xvfb xdotool /usr/bin/import; do
    command -v "$tool" >/dev/null || fail "$tool is missing (apt-get install xvfb xdotool imagemagick)"
done
# The build puts it beside the program.
pixel_census=$(dirname "$exe")/pixel-census
[ -x "$pixel_census" ] || fail "$pixel_census is missing"

# --- X server ---

. "$(dirname "$0")/../../scripts/private-xvfb.sh"

StartXvfb() {
    StartPrivateXvfb "$@"
    xvfb_pid=$XVFB_PID
    [ "$DISPLAY" != ":" ] || fail "Xvfb did not start"
}

# --- the program ---

# Wine's desktop belongs to the first program a wineserver runs: an earlier
# test's server must be gone for the desktop to be made on this display.
StartProgram() {
    wineserver --wait
    wine "$exe" >"$work/wine.log" 2>&1 &
    program_pid=$!
}

StartHangClock() {
    deadline=$(($(date +%s) + hang_seconds))
}

# True until the hang clock runs out.
BeforeHang() {
    [ "$(date +%s)" -lt "$deadline" ]
}

# Sets window to the visible window named exactly $1, once it is there.
WaitForWindow() {
    StartHangClock
    while BeforeHang; do
        window=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
        [ -z "$window" ] || return 0
        kill -0 "$program_pid" 2>/dev/null ||
            { wait "$program_pid"; fail "the program ended (exit code $?) before its window \"$1\" appeared"; }
        sleep 0.1
    done
    fail "no window \"$1\" within $hang_seconds s"
}

# Fails unless the program ends, after $2, with exit code $1.
ExpectExit() {
    StartHangClock
    while kill -0 "$program_pid" 2>/dev/null; do
        BeforeHang || fail "the program is still running $hang_seconds s after $2"
        sleep 0.1
    done
    wait "$program_pid"
    status=$?
    program_pid=""
    [ "$status" -eq "$1" ] || fail "exit code $status after $2, expected $1"
}

Focus() {
    timeout "$hang_seconds" xdotool windowfocus --sync "$1" || fail "window $1 never got the focus"
}

# Key presses go to the focused window.
PressKey() {
    Focus "$1"
    xdotool key "$2"
}

# The DPI Wine reports to DPI-aware programs, from the prefix's registry.
SetLogPixels() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
}

# Sets outer to the outer size of window $1, as WIDTHxHEIGHT. Without a window
# manager, Wine draws the frame itself and the X window is the client area: the
# window is at the screen's corner, so the client's offset is the left border
# and the caption with the top border, and the right and bottom borders are as
# wide as the left one.
MeasureOuterSize() {
    set -- $(xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
                                      /Width:/ { w = $2 } /Height:/ { h = $2 } END { print x, y, w, h }')
    outer="$(($3 + 2 * $1))x$(($4 + $2 + $1))"
}

# --- pictures ---

# Sets nonBlack, redOrGreen, green, plainRed and the rest of the census of
# window $1's picture (tests/support/pixel_census.h) as shell variables.
CountPixels() {
    kill -0 "$program_pid" 2>/dev/null || fail "the program ended while its window was watched"
    /usr/bin/import -window "$1" -depth 8 "ppm:$work/shot.ppm" || fail "no screenshot of window $1"
    census=$("$pixel_census" <"$work/shot.ppm") || fail "no census of window $1"
    eval "$census"
}

# Waits until the picture of window $1 meets the shell test $2 (on the counts
# above); fails with $3 if it never does.
WaitForPicture() {
    StartHangClock
    while BeforeHang; do
        CountPixels "$1"
        eval "$2" && return 0
        sleep 0.2
    done
    fail "$3 (non-black pixels $nonBlack, of them not pure blue $redOrGreen, with green $green, plain red $plainRed)"
}

# Holds key $2 down in window $1 until the picture meets $3, else fails with
# $4: the program polls the keypad once per tick, so a short press can fall
# between two ticks.
HoldKeyUntil() {
    Focus "$1"
    xdotool keydown "$2"
    WaitForPicture "$1" "$3" "$4"
    xdotool keyup "$2"
}

# --- scenarios ---

case "$scenario" in
escape)
    StartXvfb
    StartProgram
    WaitForWindow "$caption"
    # The balls are blue and lit by white light: nothing red or green until the axes show.
    WaitForPicture "$window" '[ "$nonBlack" -ge 1000 ] && [ "$nonBlack" -le 100000 ] && [ "$redOrGreen" -eq 0 ]' \
        "the first frames do not show blue balls alone"
    HoldKeyUntil "$window" KP_Multiply '[ "$green" -ge 200 ]' "keypad * did not show the green Z axis"
    HoldKeyUntil "$window" KP_Divide '[ "$green" -eq 0 ] && [ "$nonBlack" -ge 1000 ]' \
        "keypad / did not hide the axes"
    PressKey "$window" Escape
    ExpectExit 0 "Esc"
    ;;
alt_f4)
    StartXvfb
    StartProgram
    WaitForWindow "$caption"
    WaitForPicture "$window" '[ "$nonBlack" -ge 1000 ]' "no balls drawn"
    PressKey "$window" alt+F4
    ExpectExit 0 "Alt+F4"
    ;;
zoom)
    StartXvfb
    StartProgram
    WaitForWindow "$caption"
    WaitForPicture "$window" '[ "$nonBlack" -ge 1000 ]' "no balls drawn"
    before=$nonBlack
    HoldKeyUntil "$window" equal '[ "$nonBlack" -gt $((2 * before)) ]' "= held did not zoom in"
    nearer=$nonBlack
    # The wheel turns for the window under the pointer.
    xdotool mousemove --window "$window" 320 240 click --repeat 20 5
    WaitForPicture "$window" '[ "$nonBlack" -lt $((nearer / 2)) ]' "20 wheel notches back did not zoom out"
    farther=$nonBlack
    xdotool click --repeat 20 4
    WaitForPicture "$window" '[ "$nonBlack" -gt $((2 * farther)) ]' "20 wheel notches forward did not zoom in"
    PressKey "$window" Escape
    ExpectExit 0 "Esc"
    ;;
no_glx)
    StartXvfb -extension GLX
    WINEDEBUG=-all,+msgbox
    export WINEDEBUG
    StartProgram
    WaitForWindow "$box_caption"
    [ "$(xdotool getwindowname "$window")" = "$box_caption" ] || fail "the message box caption is not \"$box_caption\""
    grep -qF "$box_text_trace" "$work/wine.log" || fail "the message box does not say \"Mode graphique non supporté.\""
    WaitForPicture "$window" '[ "$plainRed" -ge 50 ]' "the message box shows no red error icon"
    PressKey "$window" Return
    ExpectExit 1 "Enter on the message box"
    ;;
dpi)
    StartXvfb
    for dpi_and_size in 144:960x720 96:640x480; do
        SetLogPixels "${dpi_and_size%%:*}" || fail "could not set LogPixels to ${dpi_and_size%%:*}"
        StartProgram
        WaitForWindow "$caption"
        WaitForPicture "$window" '[ "$nonBlack" -ge 1000 ]' "no balls drawn"
        MeasureOuterSize "$window"
        [ "$outer" = "${dpi_and_size#*:}" ] ||
            fail "at ${dpi_and_size%%:*} DPI the outer size is $outer, not ${dpi_and_size#*:}"
        echo "at ${dpi_and_size%%:*} DPI the outer size is $outer"
        PressKey "$window" Escape
        ExpectExit 0 "Esc"
    done
    ;;
*)
    fail "unknown scenario"
    ;;
esac
echo "PASS ($scenario)"
