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

. "$here/scripts/xvfb.sh"
trap stop_xvfb EXIT INT TERM
start_xvfb

"$build/tools/kx_noticeshot" \
    "$build/delivered/vovuriv.mdb" "$out"
DISPLAY=":$display_number" QT_QPA_PLATFORM=xcb "$build/tools/kx_windowshot" about "$build/about.png"
DISPLAY=":$display_number" QT_QPA_PLATFORM=xcb "$build/tools/kx_windowshot" help \
    "$build/delivered/virazivuzo.hlp" 0 "$build/help.png"
