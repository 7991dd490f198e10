# Sourced by the scripts that need an X server of their own: starts Xvfb on a
# display number it picks itself (-displayfd, so runs never collide), exports
# DISPLAY and sets XVFB_PID. Arguments go to Xvfb. The caller stops it:
# kill "$XVFB_PID".
StartPrivateXvfb() {
    _fifo=$(mktemp -u)
    mkfifo "$_fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset "$@" 3>"$_fifo" 2>/dev/null &
    XVFB_PID=$!
    read -r _number <"$_fifo"
    rm -f "$_fifo"
    export DISPLAY=":$_number"
}
