#!/bin/sh
# Shows one entry's notice window under a virtual X server and saves a picture of it; then the
# about window (about.png) and the help window (help.png) beside the build directory's pictures.
#   scripts/screenshot-notice.sh [build directory] [output.png]
# Needs Xvfb. Builds the picture tools in the given build directory first.
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$here/build"}
out=${2:-"$build/notice.png"}

cmake --build "$build" --target kx_noticeshot kx_windowshot >/dev/null

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
        echo "screenshot-notice: the virtual X server did not start" >&2
        exit 1
    fi
    sleep 0.1
done

DISPLAY=":$display_number" QT_QPA_PLATFORM=xcb "$build/tools/kx_noticeshot" \
    "$build/delivered/vovuriv.mdb" "$out"
DISPLAY=":$display_number" QT_QPA_PLATFORM=xcb "$build/tools/kx_windowshot" about "$build/about.png"
DISPLAY=":$display_number" QT_QPA_PLATFORM=xcb "$build/tools/kx_windowshot" help \
    "$build/delivered/virazivuzo.hlp" 0 "$build/help.png"
