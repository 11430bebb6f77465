#!/bin/sh
# Shows the about window (about.png) and the help window (help.png) under a virtual X server and
# saves a picture of each in the build directory.
#   scripts/screenshot-about-help.sh [build directory]
# Needs Xvfb. Builds the picture tool in the given build directory first.
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$here/build"}

cmake --build "$build" --target kx_aboutshot >/dev/null

. "$here/scripts/xvfb.sh"
trap stop_xvfb EXIT INT TERM
start_xvfb

DISPLAY=":$display_number" QT_QPA_PLATFORM=xcb "$build/tools/kx_aboutshot" about "$build/about.png"
DISPLAY=":$display_number" QT_QPA_PLATFORM=xcb "$build/tools/kx_aboutshot" help \
    "$build/delivered/virazivuzo.hlp" 0 "$build/help.png"
