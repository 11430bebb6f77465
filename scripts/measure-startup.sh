#!/bin/sh
# Measures the real program's start against its floor (bench/startup_floor: the same work in
# plain library calls) under a virtual X server, side by side in one run:
#  - at 10,000 and at 100,000 entries, one in ten a coming event: the time from the start to the
#    window shown with its rows, and the resident memory a second later, in interleaved runs of
#    the program and of the floor; their medians and the ratios (also of the CPU time used until
#    the window showed, which a busy machine does not stretch);
#  - the CPU time the program uses afterwards over idle seconds, with both timers on and 10,000
#    coming events whose notices are not due (its main thread, where the timers run, exactly;
#    all its threads to the clock tick).
#   scripts/measure-startup.sh [build directory] [idle seconds] [runs]
# Needs Xvfb and the sqlcipher shell; the window is watched by tools/mapwatch through one display
# connection. The program runs from a temporary folder holding a copy of the delivered database
# with the entries added; "Show Events at start up" is off there, so that the start is not
# thousands of notice windows, and every notice is due twelve hours from now.
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/xvfb.sh"
build=$(cd "${1:-$here/build}" && pwd)
idle=${2:-30}
runs=${3:-5}
title="Almanoria - Quarnwell"
floor_title="Kalendrix start floor"

for tool in Xvfb sqlcipher; do
    command -v "$tool" >/dev/null || { echo "measure-startup: $tool is missing" >&2; exit 1; }
done
cmake --build "$build" --target Kalendrix kx_startup_floor kx_mapwatch >/dev/null
watch="$build/tools/kx_mapwatch"
floor="$build/tools/kx_startup_floor"
[ -x "$watch" ] || { echo "measure-startup: $watch was not built (xcb missing)" >&2; exit 1; }

folder=$(mktemp -d)
program_pid=
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    stop_xvfb
    wait 2>/dev/null || true
    rm -rf "$folder"
}
trap cleanup EXIT INT TERM

notice_time=$(date -d '+12 hours' +%H:%M)
# make_database <folder> <entries>
make_database() {
    mkdir -p "$1"
    cp "$build/bin/Kalendrix" "$build/bin/virazivuzo.wav" "$1/"
    cp "$build/delivered/vovuriv.mdb" "$1/vovuriv.mdb"
    sqlcipher "$1/vovuriv.mdb" >/dev/null <<SQL
PRAGMA key = 'vmr';
BEGIN;
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < $2)
INSERT INTO Dazez (Events_Id, Dazez_Name, Dazez_Date, Dazez_Time, Dazez_AlertDays, Dazez_Notes,
                   Dazez_DaysTil)
SELECT i % 5 + 1, 'Entry ' || i,
       date('1930-01-01', '+' || (i % 90) || ' years', '+' || (i % 366) || ' days') || ' 00:00:00',
       '1899-12-30 $notice_time:00', CASE WHEN i % 10 = 0 THEN 365 ELSE 0 END, 'notes', 0
FROM n;
UPDATE Settings SET Settings_ShowEventsAtStart = 0, Settings_TimerOn = 1;
COMMIT;
SQL
}

start_xvfb 1280x1024x24
# A runtime folder of its own: another instance elsewhere on the machine must not count as a
# previous instance of this one.
mkdir -m 700 "$folder/run"
export XDG_RUNTIME_DIR="$folder/run"
hz=$(getconf CLK_TCK)
# CPU time of the process, every thread counted, also those that have ended (in clock ticks).
cpu_ms() { awk -v hz="$hz" '{ print int(($14 + $15) * 1000 / hz) }' "/proc/$1/stat"; }
# CPU time of the main thread, where the timers run, in microseconds: the scheduler's exact count.
main_thread_us() { awk '{ printf "%d\n", $1 / 1000 }' "/proc/$1/schedstat"; }
rss_kib() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }
gone() { # pid: waits until the process has ended
    tries=0
    while kill -0 "$1" 2>/dev/null; do
        tries=$((tries + 1))
        [ "$tries" -gt 200 ] && { kill -9 "$1" 2>/dev/null || true; }
        sleep 0.05
    done
}

# run_once <folder> <title> <command...>: prints "<ms> <cpu ms> <rss KiB>"; leaves the program
# running with its pid in program_pid.
run_once() {
    dir=$1
    name=$2
    shift 2
    shown=$(cd "$dir" && "$watch" "$name" 120000 "$@" 2>/dev/null) ||
        { echo "measure-startup: no window \"$name\"" >&2; exit 1; }
    program_pid=${shown% *}
    ms=${shown#* }
    cpu=$(cpu_ms "$program_pid")
    sleep 1
    echo "$ms $cpu $(rss_kib "$program_pid")"
}

stop_program() {
    kill "$program_pid" 2>/dev/null || true
    gone "$program_pid"
    program_pid=
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
for entries in 10000 100000; do
    dir="$folder/$entries"
    make_database "$dir" "$entries"
    : >"$folder/program" && : >"$folder/floor"
    i=0
    while [ "$i" -lt "$runs" ]; do
        run_once "$dir" "$title" ./Kalendrix >>"$folder/program"
        stop_program
        run_once "$dir" "$floor_title" "$floor" "$dir/vovuriv.mdb" >>"$folder/floor"
        stop_program
        i=$((i + 1))
    done
    for who in program floor; do
        eval "${who}_ms=\$(cut -d' ' -f1 \"\$folder/\$who\" | median)"
        eval "${who}_cpu=\$(cut -d' ' -f2 \"\$folder/\$who\" | median)"
        eval "${who}_rss=\$(cut -d' ' -f3 \"\$folder/\$who\" | median)"
    done
    echo "$entries entries, $((entries / 10)) coming events ($runs runs each):"
    echo "  program: $(tr '\n' ' ' <"$folder/program" | awk '{ for (i = 1; i <= NF; i += 3) printf "%s ", $i }')ms"
    echo "  floor:   $(tr '\n' ' ' <"$folder/floor" | awk '{ for (i = 1; i <= NF; i += 3) printf "%s ", $i }')ms"
    awk -v pm="$program_ms" -v fm="$floor_ms" -v pc="$program_cpu" -v fc="$floor_cpu" \
        -v pr="$program_rss" -v fr="$floor_rss" 'BEGIN {
        printf "  start to window, median: program %d ms, floor %d ms, ratio %.2f\n", pm, fm, pm / fm
        printf "  CPU time to window, median: program %d ms, floor %d ms, ratio %.2f\n", pc, fc, pc / fc
        printf "  resident after start, median: program %.1f MiB, floor %.1f MiB, ratio %.2f\n",
               pr / 1024, fr / 1024, pr / fr
    }'
done

# Idle: the last size's database, 10,000 coming events, both timers on.
shown=$(cd "$folder/100000" && "$watch" "$title" 120000 ./Kalendrix 2>/dev/null) ||
    { echo "measure-startup: no window \"$title\"" >&2; exit 1; }
program_pid=${shown% *}
sleep 2
before=$(main_thread_us "$program_pid")
all_before=$(cpu_ms "$program_pid")
sleep "$idle"
after=$(main_thread_us "$program_pid")
all_after=$(cpu_ms "$program_pid")
awk -v t=$((after - before)) -v a=$((all_after - all_before)) -v s="$idle" 'BEGIN {
    printf "idle with both timers on and 10,000 coming events, over %d s: main thread %.3f s of CPU, %.3f %% of one core (all threads %.2f s)\n",
           s, t / 1e6, 100 * t / 1e6 / s, a / 1000
}'
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
