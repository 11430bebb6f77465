#!/bin/sh
# Measures the CPU time the real program uses while the editor is open and nobody works in it,
# under a virtual X server: the main window then waits for the editor, its day timer ticking.
#   scripts/measure-editor-idle.sh [build directory] [idle seconds]
# Needs Xvfb, xwininfo, xdotool and the sqlcipher shell. The program runs from a temporary
# folder holding a copy of the delivered database with one entry; the editor is opened on a new
# entry from the keyboard (File > New).
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/xvfb.sh"
build=${1:-"$here/build"}
idle=${2:-30}
title="Almanoria - Quarnwell"

for tool in Xvfb xwininfo xdotool sqlcipher; do
    command -v "$tool" >/dev/null || { echo "measure-editor-idle: $tool is missing" >&2; exit 1; }
done
cmake --build "$build" --target Kalendrix >/dev/null

folder=$(mktemp -d)
program_pid=
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    stop_xvfb
    wait 2>/dev/null || true
    rm -rf "$folder"
}
trap cleanup EXIT INT TERM

cp "$build/bin/Kalendrix" "$build/bin/virazivuzo.wav" "$folder/"
cp "$build/delivered/vovuriv.mdb" "$folder/vovuriv.mdb"
sqlcipher "$folder/vovuriv.mdb" >/dev/null <<SQL
PRAGMA key = 'vmr';
DELETE FROM Dazez;
INSERT INTO Dazez (Events_Id, Dazez_Name, Dazez_Date, Dazez_Time, Dazez_AlertDays, Dazez_Notes,
                   Dazez_DaysTil)
VALUES (1, 'Idle', '1980-06-01 00:00:00', '1899-12-30 09:00:00', 3, '', 0);
UPDATE Settings SET Settings_ShowEventsAtStart = 0, Settings_TimerOn = 1;
SQL

start_xvfb 1280x1024x24
mkdir -m 700 "$folder/run"
export XDG_RUNTIME_DIR="$folder/run"

wait_for() { # window title
    tries=0
    until xwininfo -name "$1" 2>/dev/null | grep -q "IsViewable"; do
        kill -0 "$program_pid" 2>/dev/null || { echo "measure-editor-idle: the program ended" >&2; exit 1; }
        tries=$((tries + 1))
        [ "$tries" -gt 1200 ] && { echo "measure-editor-idle: no window \"$1\"" >&2; exit 1; }
        sleep 0.05
    done
}

(cd "$folder" && exec ./Kalendrix) >/dev/null 2>&1 &
program_pid=$!
wait_for "$title"
sleep 1

window=$(xdotool search --name "^$title\$" | head -n 1)
xdotool windowfocus --sync "$window"
xdotool key --window "$window" alt+f
sleep 0.5
xdotool key n
wait_for "Editor"
echo "editor open: $(xwininfo -name Editor | grep -c IsViewable) window"

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$program_pid/stat"; }
hz=$(getconf CLK_TCK)
sleep 2
before=$(cpu_ticks)
sleep "$idle"
after=$(cpu_ticks)
awk -v t=$((after - before)) -v hz="$hz" -v s="$idle" 'BEGIN {
    printf "CPU time over %d seconds with the editor open: %.2f s, %.3f %% of one core\n",
           s, t / hz, 100 * t / hz / s
}'
