#!/bin/sh
# Loads the main window over 30 entries under a virtual X server and saves a picture of each of
# its tabs, and one with its File menu open.
#   scripts/screenshot-main.sh [build directory] [events.png] [settings.png] [file-menu.png]
# Needs Xvfb. Builds the picture tool in the given build directory first.
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$here/build"}
events=${2:-"$build/main-events.png"}
settings=${3:-"$build/main-settings.png"}
menu=${4:-"$build/main-file-menu.png"}

cmake --build "$build" --target kx_mainshot >/dev/null

. "$here/scripts/xvfb.sh"
trap stop_xvfb EXIT INT TERM
start_xvfb

"$build/tools/kx_mainshot" "$build/delivered/vovuriv.mdb" "$events" "$settings" "$menu"
