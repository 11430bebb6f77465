#!/bin/sh
# Loads the main window over 30 entries under a virtual X server and saves a picture of each of
# its tabs, and one with its File menu open.
#   [FONT_SIZE=points] scripts/screenshot-main.sh [build directory] [events.png] [settings.png]
#                                                 [file-menu.png]
# FONT_SIZE stands for the desktop's font size (the virtual server has no desktop; Qt's own is
# 9 points); the pictures' default names then end in -<points>pt.png. Needs Xvfb. Builds the
# picture tool in the given build directory first.
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$here/build"}
size=${FONT_SIZE:-}
suffix=${size:+-${size}pt}
events=${2:-"$build/main-events$suffix.png"}
settings=${3:-"$build/main-settings$suffix.png"}
menu=${4:-"$build/main-file-menu$suffix.png"}

cmake --build "$build" --target kx_mainshot >/dev/null

. "$here/scripts/xvfb.sh"
trap stop_xvfb EXIT INT TERM
start_xvfb

"$build/tools/kx_mainshot" ${size:+"--points=$size"} "$build/delivered/vovuriv.mdb" "$events" \
    "$settings" "$menu"
