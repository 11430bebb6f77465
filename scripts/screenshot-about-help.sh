#!/bin/sh
# Shows the about window (about.png) and the help window (help.png) under a virtual X server and
# saves a picture of each in the build directory.
#   [FONT_SIZE=points] scripts/screenshot-about-help.sh [build directory]
# FONT_SIZE stands for the desktop's font size (the virtual server has no desktop; Qt's own is
# 9 points); the pictures are then about-<points>pt.png and help-<points>pt.png. Needs Xvfb.
# Builds the picture tool in the given build directory first.
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$here/build"}
size=${FONT_SIZE:-}
suffix=${size:+-${size}pt}

cmake --build "$build" --target kx_aboutshot >/dev/null

. "$here/scripts/xvfb.sh"
trap stop_xvfb EXIT INT TERM
start_xvfb

points=${size:+"--points=$size"}
DISPLAY=":$display_number" QT_QPA_PLATFORM=xcb "$build/tools/kx_aboutshot" $points about \
    "$build/about$suffix.png"
DISPLAY=":$display_number" QT_QPA_PLATFORM=xcb "$build/tools/kx_aboutshot" $points help \
    "$build/delivered/virazivuzo.hlp" 0 "$build/help$suffix.png"
