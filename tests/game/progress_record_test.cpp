#include <gtest/gtest.h>

#include "game/progress_record.h"

namespace travoli {
namespace {

ProgressRecord AllSolvedBut(std::initializer_list<int> unsolved) {
    ProgressRecord record;
    for (int level = 1; level <= LevelCount; ++level) {
        record.SetBestMoves(level, 30);
    }
    for (int level : unsolved) {
        record.SetBestMoves(level, 0);
    }
    return record;
}

TEST(RecordSolution, FirstBetterAndAgain) {
    const struct {
        int entry;
        int moves;
        SolutionResult result;
        int after;
    } cases[] = {
        {0, 25, SolutionResult::FirstSolution, 25},      {20, 20, SolutionResult::SolvedAgain, 20},
        {20, 19, SolutionResult::BetterSolution, 19},    {20, 25, SolutionResult::SolvedAgain, 20},
        {230, 150, SolutionResult::BetterSolution, 150}, {1, 199, SolutionResult::SolvedAgain, 1},
    };
    for (const auto& c : cases) {
        ProgressRecord record;
        record.SetBestMoves(17, static_cast<std::uint8_t>(c.entry));
        EXPECT_EQ(record.RecordSolution(17, c.moves), c.result) << c.entry << "/" << c.moves;
        EXPECT_EQ(record.BestMoves(17), c.after);
        EXPECT_EQ(record.BestMoves(16), 0);
        EXPECT_EQ(record.BestMoves(18), 0);
    }
}

TEST(UnsolvedSearch, NeighboursWithWrapAround) {
    const ProgressRecord none;
    const struct {
        int level;
        int next;
        int previous;
    } cases[] = {{1, 2, 225}, {100, 101, 99}, {225, 1, 224}};
    for (const auto& c : cases) {
        EXPECT_EQ(none.FindNextUnsolved(c.level), c.next);
        EXPECT_EQ(none.FindPreviousUnsolved(c.level), c.previous);
    }
}

TEST(UnsolvedSearch, SkipsSolvedLevelsAndNeverLooksAtTheCurrentOne) {
    const struct {
        std::initializer_list<int> unsolved;
        int level;
        int next;
        int previous;
    } cases[] = {
        {{5}, 200, 5, 5},     {{}, 40, 40, 40},       {{40}, 40, 40, 40},     {{1}, 225, 1, 1},
        {{225}, 1, 225, 225}, {{10, 30}, 20, 30, 10}, {{10, 30}, 30, 10, 10},
    };
    for (const auto& c : cases) {
        const ProgressRecord record = AllSolvedBut(c.unsolved);
        EXPECT_EQ(record.FindNextUnsolved(c.level), c.next) << "from " << c.level;
        EXPECT_EQ(record.FindPreviousUnsolved(c.level), c.previous) << "from " << c.level;
    }
}

}  // namespace
}  // namespace travoli
