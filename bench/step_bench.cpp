// Cost of one gravitational step (2,450 ordered pairs) on the start-up table.

#include "sim/balls.h"
#include "sim/step.h"
#include "sim/tests/fresh_table.h"

#include <benchmark/benchmark.h>

#include <cstring>

static void BM_StepSimulation(benchmark::State& state)
{
    ResetToProcessStart();
    InitBalls();
    Ball startUp[BALL_COUNT];
    std::memcpy(startUp, BallTable, sizeof startUp);
    int steps = 0;
    for (auto _ : state) {
        StepSimulation();
        benchmark::DoNotOptimize(BallTable);
        // Stay near the start-up scene rather than drift into far-flung states.
        if (++steps == 1000) {
            state.PauseTiming();
            std::memcpy(BallTable, startUp, sizeof startUp);
            steps = 0;
            state.ResumeTiming();
        }
    }
    state.counters["pairs/s"] =
        benchmark::Counter((double)state.iterations() * BALL_COUNT * (BALL_COUNT - 1),
                           benchmark::Counter::kIsRate);
}
BENCHMARK(BM_StepSimulation)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
