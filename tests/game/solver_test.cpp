#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <set>
#include <unordered_map>

#include "game/game_session.h"
#include "game/level_table.h"
#include "game/moves.h"
#include "game/solver.h"
#include "tests/support/board_text.h"

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

// Breadth first from the start, the cells of each board tried in index order, remembering the
// board each one was first reached from; the first solved board reached ends the search.
std::optional<std::vector<Cell>> PlainSearch(const Board& start) {
    std::unordered_map<std::uint32_t, std::uint32_t> reachedFrom{{start.Packed(), start.Packed()}};
    std::deque<Board> queue{start};
    for (; !queue.empty(); queue.pop_front()) {
        const Board board = queue.front();
        if (IsSolved(board)) {
            std::vector<Cell> presses;
            for (Board at = board; at != start;
                 at = Board::FromPacked(reachedFrom.at(at.Packed()))) {
                presses.insert(presses.begin(), at.Hole());
            }
            return presses;
        }
        for (int index = 0; index < CellCount; ++index) {
            Board moved = board;
            if (IsLegalPress(board, Board::CellAt(index))) {
                ApplyPress(moved, Board::CellAt(index));
                if (reachedFrom.emplace(moved.Packed(), board.Packed()).second) {
                    queue.push_back(moved);
                }
            }
        }
    }
    return std::nullopt;
}

// Positions met in play, boards of other pieces, boards one press from solved, boards that
// cannot be solved and boards with no hole or several: the very sequence a plain search finds.
TEST(Solver, SameSequencesAsAPlainSearch) {
    std::vector<Board> boards;
    for (const char* text :
         {"0 0 0 / 4 2 4 / 5 6 5", "0 0 0 / 4 1 6 / 5 5 5", "0 3 6 / 1 0 4 / 2 5 2",
          "2 2 2 / 1 6 1 / 0 0 3", "5 5 5 / 5 6 5 / 3 3 3", "0 0 0 / 6 1 1 / 1 2 2",
          "0 0 0 / 6 6 1 / 2 1 2", "6 6 6 / 1 1 1 / 0 0 0", "0 1 0 / 1 1 1 / 2 2 2",
          "3 3 3 / 3 6 3 / 5 5 5", "2 2 2 / 1 6 4 / 3 0 0"}) {
        ASSERT_TRUE(ParseBoard(text, boards.emplace_back())) << text;
    }
    std::minstd_rand random(13);
    for (int level = 1; level <= LevelCount; level += 4) {
        Board board = MakeStartingBoard(LevelCodeOf(level));
        for (int press = 0; press < 60; ++press) {
            std::vector<Cell> legal;
            for (int index = 0; index < CellCount; ++index) {
                if (IsLegalPress(board, Board::CellAt(index))) {
                    legal.push_back(Board::CellAt(index));
                }
            }
            ApplyPress(board, legal[random() % legal.size()]);
            if (press % 20 == 7) {
                boards.push_back(board);
            }
        }
    }
    for (const Board& board : boards) {
        const auto expected = PlainSearch(board);
        const auto solution = SolveShortest(board);
        ASSERT_EQ(solution.has_value(), expected.has_value()) << board.ToString();
        if (expected) {
            EXPECT_EQ(*solution, *expected) << board.ToString();
        }
    }
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
