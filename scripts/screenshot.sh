#!/bin/sh
# Shows the program's windows under a virtual X server and saves a picture of each.
#   [FONT_SIZE=points] scripts/screenshot.sh [build directory] [window ...]
# Without window names, every window the picture tool knows (kx_windowshot --list). FONT_SIZE
# stands for the desktop's font size (the virtual server has no desktop; Qt's own is 9 points).
# The pictures go to <build directory>/screenshots/<window>.png, or <window>-<points>pt.png with
# a FONT_SIZE. Needs Xvfb. Builds the picture tool first.
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$here/build"}
[ $# -gt 0 ] && shift
out="$build/screenshots"
tool="$build/tools/kx_windowshot"

cmake --build "$build" --target kx_windowshot >/dev/null
mkdir -p "$out"
windows=${*:-$("$tool" --list)}

display_number=$(( ($$ % 400) + 100 ))
while [ -e "/tmp/.X11-unix/X$display_number" ] || [ -e "/tmp/.X$display_number-lock" ]; do
    display_number=$((display_number + 1))
done

Xvfb ":$display_number" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true' EXIT INT TERM

tries=0
until [ -e "/tmp/.X11-unix/X$display_number" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 50 ]; then
        echo "screenshot: the virtual X server did not start" >&2
        exit 1
    fi
    sleep 0.1
done

size=${FONT_SIZE:-}
for window in $windows; do
    DISPLAY=":$display_number" QT_QPA_PLATFORM=xcb "$tool" \
        "$build/delivered/vovuriv.mdb" "$window" "$out/$window${size:+-${size}pt}.png" $size
done
