# Sourced by the scripts that need a virtual X server.
#   start_xvfb [screen]  starts one on a free display (screen "1024x768x24" unless given),
#                        waits until it takes connections, and exports DISPLAY and
#                        QT_QPA_PLATFORM=xcb; ends the script when it does not start.
#   stop_xvfb            stops it; the caller's EXIT trap calls it.
xvfb_pid=

start_xvfb() {
    display_number=$(( ($$ % 400) + 100 ))
    while [ -e "/tmp/.X11-unix/X$display_number" ] || [ -e "/tmp/.X$display_number-lock" ]; do
        display_number=$((display_number + 1))
    done
    Xvfb ":$display_number" -screen 0 "${1:-1024x768x24}" -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    tries=0
    until [ -e "/tmp/.X11-unix/X$display_number" ]; do
        tries=$((tries + 1))
        if [ "$tries" -gt 50 ]; then
            echo "$(basename "$0"): the virtual X server did not start" >&2
            exit 1
        fi
        sleep 0.1
    done
    export DISPLAY=":$display_number" QT_QPA_PLATFORM=xcb
}

stop_xvfb() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=
    fi
}
