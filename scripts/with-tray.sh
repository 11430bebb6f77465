#!/bin/sh
# Runs a command on a virtual X display (Xvfb) that has a notification area (trayer), so that
# the program's tray icon can be tried for real:
#   scripts/with-tray.sh [--no-tray] command [arguments...]
# The command sees DISPLAY and QT_QPA_PLATFORM=xcb; the display and the notification area end
# with it. With --no-tray the display has no notification area. Example:
#   scripts/with-tray.sh sh -c 'build/tools/kx_traycheck probe 5000'
set -eu

tray=yes
if [ "${1:-}" = "--no-tray" ]; then
    tray=no
    shift
fi
[ $# -gt 0 ] || { echo "usage: with-tray.sh [--no-tray] command [arguments...]" >&2; exit 2; }

fifo=$(mktemp -u)
mkfifo "$fifo"
# Xvfb picks a free display itself and writes its number to descriptor 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb_pid=$!
tray_pid=
cleanup() {
    [ -n "$tray_pid" ] && kill "$tray_pid" 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -f "$fifo"
}
trap cleanup EXIT INT TERM
read -r display_number <"$fifo"

export DISPLAY=":$display_number" QT_QPA_PLATFORM=xcb
if [ "$tray" = yes ]; then
    trayer --edge bottom --align right --widthtype request --height 24 >/dev/null 2>&1 &
    tray_pid=$!
fi
"$@"
