#!/bin/sh
# Shows one entry's notice window under a virtual X server and saves a picture of it.
#   scripts/screenshot-notice.sh [build directory] [output.png]
# Needs Xvfb. Builds the picture tool in the given build directory first.
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$here/build"}
out=${2:-"$build/notice.png"}

cmake --build "$build" --target kx_noticeshot >/dev/null

. "$here/scripts/xvfb.sh"
trap stop_xvfb EXIT INT TERM
start_xvfb

"$build/tools/kx_noticeshot" \
    "$build/delivered/vovuriv.mdb" "$out"
