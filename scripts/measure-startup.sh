#!/bin/sh
# Measures the real program with 10,000 entries under a virtual X server:
#  - the time from its start to the main window shown (the list is filled before it shows);
#  - the CPU time it uses over 30 idle seconds afterwards, with both timers on.
#   scripts/measure-startup.sh [build directory] [idle seconds]
# Needs Xvfb, xwininfo and the sqlcipher shell. The program runs from a temporary folder holding
# a copy of the delivered database with the entries added; "Show Events at start up" is off
# there, so that the start is not a hundred notice windows.
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/xvfb.sh"
build=${1:-"$here/build"}
idle=${2:-30}
entries=10000
title="Almanoria - Quarnwell"

for tool in Xvfb xwininfo sqlcipher; do
    command -v "$tool" >/dev/null || { echo "measure-startup: $tool is missing" >&2; exit 1; }
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
BEGIN;
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < $entries)
INSERT INTO Dazez (Events_Id, Dazez_Name, Dazez_Date, Dazez_Time, Dazez_AlertDays, Dazez_Notes,
                   Dazez_DaysTil)
SELECT i % 5 + 1, 'Entry ' || i,
       date('1930-01-01', '+' || (i % 90) || ' years', '+' || (i % 366) || ' days') || ' 00:00:00',
       '1899-12-30 ' || printf('%02d:%02d:00', i % 24, i % 60), 3, 'notes', 0
FROM n;
UPDATE Settings SET Settings_ShowEventsAtStart = 0;
COMMIT;
SQL

start_xvfb 1280x1024x24
# A runtime folder of its own: another instance elsewhere on the machine must not count as a
# previous instance of this one.
mkdir -m 700 "$folder/run"
export XDG_RUNTIME_DIR="$folder/run"

now_ms() { date +%s%3N; }

start=$(now_ms)
(cd "$folder" && exec ./Kalendrix) >/dev/null 2>&1 &
program_pid=$!
until xwininfo -name "$title" 2>/dev/null | grep -q "IsViewable"; do
    kill -0 "$program_pid" 2>/dev/null || { echo "measure-startup: the program ended" >&2; exit 1; }
    [ $(( $(now_ms) - start )) -gt 60000 ] && { echo "measure-startup: no window" >&2; exit 1; }
    sleep 0.05
done
shown=$(now_ms)
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$program_pid/stat"; }
hz=$(getconf CLK_TCK)
# The CPU time beside the wall time: on a busy machine the wall time also counts the waits for
# a processor.
echo "start to main window shown with $entries entries: $((shown - start)) ms" \
    "($(( $(cpu_ticks) * 1000 / hz )) ms of CPU time; load $(cut -d' ' -f1 /proc/loadavg))"
sleep 2
before=$(cpu_ticks)
sleep "$idle"
after=$(cpu_ticks)
awk -v t=$((after - before)) -v hz="$hz" -v s="$idle" 'BEGIN {
    printf "CPU time over %d idle seconds: %.2f s, %.3f %% of one core\n", s, t / hz, 100 * t / hz / s
}'
