#include <benchmark/benchmark.h>

#include "game/game_session.h"
#include "game/level_table.h"
#include "game/solver.h"

namespace {

// A legal press and its reverse, so the board never runs into the limit.
void BM_PressCell(benchmark::State& state) {
    travoli::GameSession session;
    session.StartLevel(1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(session.PressCell(1, 0));
        benchmark::DoNotOptimize(session.PressCell(1, 1));
        if (session.moveCount() > 190) {
            session.StartLevel(1);
        }
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_PressCell);

void BM_SolveAllLevels(benchmark::State& state) {
    for (auto _ : state) {
        int solvable = 0;
        for (int level = 1; level <= travoli::LevelCount; ++level) {
            solvable +=
                travoli::SolveShortest(travoli::MakeStartingBoard(travoli::LevelCodeOf(level)))
                    .has_value();
        }
        benchmark::DoNotOptimize(solvable);
    }
}
BENCHMARK(BM_SolveAllLevels)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
