#!/bin/sh
# Counts the instructions of the benchmarks over sizes under callgrind, each case beside its
# floor: per iteration of the timed loop alone (bench/Measure.h), per entry, and the ratio to the
# floor. Counts do not stretch on a busy machine as times do.
#   scripts/bench-instructions.sh [build directory] [sizes] [cases]
# sizes: default "1000 10000 100000"; cases: benchmark names that have a "<name>Floor" beside
# them, default "SetDaysTil SetEventList BuildUpcomingLists NoticeTickNothingDue StartRoad".
# Needs valgrind. A case at 100,000 entries takes minutes.
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
sizes=${2:-"1000 10000 100000"}
cases=${3:-"SetDaysTil SetEventList BuildUpcomingLists NoticeTickNothingDue StartRoad"}

command -v valgrind >/dev/null || { echo "bench-instructions: valgrind is missing" >&2; exit 1; }
cmake --build "$build" --target kalendrix_bench >/dev/null
bench="$build/bin/kalendrix_bench"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

# count <benchmark>: the instructions per iteration of its timed loop.
count() {
    valgrind --tool=callgrind --collect-atstart=no --callgrind-out-file="$work/out" \
        "$bench" --benchmark_filter="^$1\$" --benchmark_min_time=0.01 >"$work/log" 2>&1 ||
        { echo "bench-instructions: $1 failed" >&2; tail -5 "$work/log" >&2; exit 1; }
    grep -q "ERROR OCCURRED" "$work/log" && { echo "bench-instructions: $1 reported an error" >&2; exit 1; }
    awk '/Collected :/ { c = $NF } /^kx-counted/ { n += $2 } END { if (n > 0) printf "%.0f\n", c / n }' \
        "$work/log"
}

printf "%-22s %8s %16s %12s %16s %12s %7s\n" case entries "program Ir" "per entry" "floor Ir" \
    "per entry" ratio
for name in $cases; do
    for n in $sizes; do
        program=$(count "BM_$name/$n")
        floor=$(count "BM_${name}Floor/$n")
        # The tick goes over the coming events, a tenth of the entries.
        per=$n
        [ "$name" = NoticeTickNothingDue ] && per=$((n / 10))
        awk -v name="$name" -v n="$n" -v p="$program" -v f="$floor" -v per="$per" 'BEGIN {
            printf "%-22s %8d %16.0f %12.0f %16.0f %12.0f %7.2f\n", name, n, p, p / per, f, f / per, p / f
        }'
    done
done
