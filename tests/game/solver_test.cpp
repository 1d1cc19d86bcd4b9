#include <gtest/gtest.h>

#include <set>

#include "game/game_session.h"
#include "game/level_table.h"
#include "game/moves.h"
#include "game/solver.h"

namespace travoli {
namespace {

TEST(Solver, ShortestSolutionsOfAllLevels) {
    const std::set<int> expectedUnsolvable = {27, 28, 31, 59,  75,  76,  79,  83,  84,  87,
                                              89, 90, 91, 103, 111, 117, 147, 187, 195, 201};
    std::set<int> unsolvable;
    std::size_t shortest = 1000;
    std::size_t longest = 0;
    for (int level = 1; level <= LevelCount; ++level) {
        GameSession session;
        session.StartLevel(level);
        const auto solution = SolveShortest(session.board());
        if (!solution) {
            unsolvable.insert(level);
            continue;
        }
        shortest = std::min(shortest, solution->size());
        longest = std::max(longest, solution->size());
        // Every sequence must be one that the game itself accepts and recognises.
        MoveOutcome last;
        for (const Cell& press : *solution) {
            last = session.PressCell(press.column, press.row);
            ASSERT_TRUE(last.accepted) << "level " << level;
        }
        EXPECT_TRUE(last.solvedNow) << "level " << level;
        EXPECT_EQ(session.moveCount(), static_cast<int>(solution->size()));
        if (level == 1) {
            EXPECT_EQ(solution->size(), 25U);
        } else if (level == 32) {
            EXPECT_EQ(solution->size(), 18U);
        } else if (level == 67) {
            EXPECT_EQ(solution->size(), 33U);
        }
    }
    EXPECT_EQ(unsolvable, expectedUnsolvable);
    EXPECT_EQ(shortest, 18U);
    EXPECT_EQ(longest, 33U);
}

TEST(Solver, SolvedBoardNeedsNoPress) {
    Board board;
    ASSERT_TRUE(ParseBoard("0 3 0 / 6 1 4 / 2 5 2", board));
    const auto solution = SolveShortest(board);
    ASSERT_TRUE(solution.has_value());
    EXPECT_TRUE(solution->empty());
}

TEST(Solver, FromAPositionInTheMiddleOfPlay) {
    GameSession session;
    session.StartLevel(32);
    session.PressCell(1, 2);
    session.PressCell(0, 1);
    const auto solution = SolveShortest(session.board());
    ASSERT_TRUE(solution.has_value());
    EXPECT_EQ(solution->size(), 16U);
}

}  // namespace
}  // namespace travoli
