#pragma once

// How the benchmarks over sizes measure a step: one untimed run first, so that the kept
// statements, the style's first polish and the file's pages stand as in every later run, then
// the timed loop. Under callgrind (scripts/bench-instructions.sh, with collection off at the
// start) only the timed loop is counted, and its number of iterations is written to standard
// error as "kx-counted <iterations>", so that the count per iteration can be taken.
// "per_entry" is the time per entry of the table.

#include <benchmark/benchmark.h>

#include <cstdio>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define KX_BENCH_TOGGLE_COUNT() CALLGRIND_TOGGLE_COLLECT
#define KX_BENCH_UNDER_VALGRIND() RUNNING_ON_VALGRIND
#else
#define KX_BENCH_TOGGLE_COUNT() \
    do {                        \
    } while (0)
#define KX_BENCH_UNDER_VALGRIND() 0
#endif

namespace kxbench {

template <class Step> void measure(benchmark::State &state, Step &&step)
{
    step();
    KX_BENCH_TOGGLE_COUNT();
    for (auto _ : state)
        step();
    KX_BENCH_TOGGLE_COUNT();
    if (KX_BENCH_UNDER_VALGRIND())
        std::fprintf(stderr, "kx-counted %lld\n", static_cast<long long>(state.iterations()));
}

inline void perEntry(benchmark::State &state, int entries)
{
    state.counters["per_entry"] =
        benchmark::Counter(entries, benchmark::Counter::kIsIterationInvariantRate |
                                        benchmark::Counter::kInvert);
}

} // namespace kxbench
