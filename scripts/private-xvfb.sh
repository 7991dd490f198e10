# Sourced by the scripts that need an X server of their own: starts Xvfb on a
# display number it picks itself (-displayfd, so runs never collide), exports
# DISPLAY and sets XVFB_PID. Arguments go to Xvfb. The caller stops it:
# kill "$XVFB_PID". An Xvfb that dies, or gives no number within two minutes
# (which only a hang takes), ends the calling script with exit code 1.
StartPrivateXvfb() {
    _fifo=$(mktemp -u)
    mkfifo "$_fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset "$@" 3>"$_fifo" 2>/dev/null &
    XVFB_PID=$!
    _number=$(timeout 120 head -n 1 "$_fifo") || true
    rm -f "$_fifo"
    case "$_number" in
    '' | *[!0-9]*)
        echo "Xvfb gave no display number" >&2
        kill "$XVFB_PID" 2>/dev/null
        exit 1
        ;;
    esac
    export DISPLAY=":$_number"
}
