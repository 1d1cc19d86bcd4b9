#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "game/level_table.h"
#include "game/moves.h"
#include "tests/support/board_text.h"

namespace travoli {
namespace {

TEST(LevelTable, CheckEntries) {
    const struct {
        int level;
        int code;
    } cases[] = {{1, 0},     {2, 1},     {90, 89},   {91, 92},   {92, 93},   {93, 96},
                 {100, 103}, {150, 157}, {163, 172}, {164, 174}, {200, 215}, {225, 252}};
    for (const auto& c : cases) {
        EXPECT_EQ(LevelCodeOf(c.level), c.code) << "level " << c.level;
    }
}

TEST(LevelTable, StrictlyAscendingAndLeavesOutExactlyTheMissingCodes) {
    EXPECT_TRUE(std::is_sorted(LevelTable.begin(), LevelTable.end()));
    const std::set<int> codes(LevelTable.begin(), LevelTable.end());
    EXPECT_EQ(codes.size(), std::size_t{LevelCount});
    const std::set<int> leftOut = {90,  91,  94,  95,  122, 123, 126, 127, 165, 167, 173,
                                   175, 181, 183, 189, 191, 218, 219, 222, 223, 229, 231,
                                   237, 239, 245, 247, 250, 251, 253, 254, 255};
    for (int code = 0; code < 256; ++code) {
        EXPECT_NE(codes.count(code), leftOut.count(code)) << "code " << code;
    }
}

TEST(StartingBoard, ExamplesFromCodes) {
    const struct {
        int code;
        const char* board;
    } cases[] = {
        {0, "2 2 2 / 1 6 1 / 0 0 0"},  {1, "5 2 2 / 1 6 1 / 0 0 0"}, {252, "2 2 5 / 4 6 4 / 3 3 3"},
        {31, "5 5 5 / 4 6 4 / 0 0 0"}, {8, "2 2 2 / 4 6 1 / 0 0 0"}, {128, "2 2 2 / 1 6 1 / 0 0 3"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MakeStartingBoard(static_cast<LevelCode>(c.code)).ToString(), c.board)
            << "code " << c.code;
    }
}

TEST(StartingBoard, EveryLevelStartsInTheSameColoursAndUnsolved) {
    for (int level = 1; level <= LevelCount; ++level) {
        const Board board = MakeStartingBoard(LevelCodeOf(level));
        EXPECT_EQ(board.Hole(), (Cell{1, 1}));
        for (int column = 0; column < 3; ++column) {
            EXPECT_EQ(ColourOf(board.at(column, 0)), PieceColour::Blue);
            EXPECT_EQ(ColourOf(board.at(column, 2)), PieceColour::Red);
        }
        EXPECT_EQ(ColourOf(board.at(0, 1)), PieceColour::White);
        EXPECT_EQ(ColourOf(board.at(2, 1)), PieceColour::White);
        EXPECT_FALSE(IsSolved(board)) << "level " << level;
    }
}

TEST(Board, PackedFormAndParsingRoundTrip) {
    Board board;
    ASSERT_TRUE(ParseBoard("0 3 0 / 6 1 4 / 2 5 2", board));
    EXPECT_EQ(Board::FromPacked(board.Packed()), board);
    EXPECT_EQ(board.Hole(), (Cell{0, 1}));
    EXPECT_FALSE(ParseBoard("0 3 0 / 6 1 4 / 2 5", board));
    EXPECT_FALSE(ParseBoard("0 3 0 / 6 1 4 / 2 5 7", board));
}

}  // namespace
}  // namespace travoli
