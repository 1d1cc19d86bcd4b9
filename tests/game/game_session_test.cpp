#include <gtest/gtest.h>

#include <vector>

#include "game/game_session.h"
#include "game/moves.h"
#include "game/solver.h"
#include "tests/support/board_text.h"

namespace travoli {
namespace {

Board BoardOf(const char* text) {
    Board board;
    EXPECT_TRUE(ParseBoard(text, board)) << text;
    return board;
}

TEST(PressCell, LegalAndIllegalPressesByKind) {
    const struct {
        int level;
        Cell pressed;
        bool legal;
        const char* why;
    } cases[] = {
        {1, {1, 0}, true, "straight, above the hole"},
        {1, {0, 1}, true, "straight, left of the hole"},
        {1, {2, 1}, true, "straight, right of the hole"},
        {1, {1, 2}, true, "straight, below the hole"},
        {1, {0, 0}, false, "straight, diagonal neighbour"},
        {1, {2, 2}, false, "straight, diagonal neighbour"},
        {1, {1, 1}, false, "the hole itself"},
        {2, {0, 0}, true, "diagonal, diagonal neighbour"},
        {2, {2, 0}, false, "straight corner"},
        {2, {0, 2}, false, "straight corner"},
        {2, {1, 0}, true, "straight next to the centre"},
        {32, {1, 0}, false, "diagonal, orthogonal neighbour"},
        {32, {0, 1}, false, "diagonal, orthogonal neighbour"},
        {32, {0, 0}, true, "diagonal, diagonal neighbour"},
        {32, {1, 2}, true, "straight red below the hole"},
    };
    for (const auto& c : cases) {
        GameSession session;
        session.StartLevel(c.level);
        const Board before = session.board();
        const MoveOutcome outcome = session.PressCell(c.pressed.column, c.pressed.row);
        EXPECT_EQ(outcome.accepted, c.legal) << "level " << c.level << ": " << c.why;
        if (c.legal) {
            EXPECT_EQ(outcome.target, (Cell{1, 1}));
            EXPECT_EQ(outcome.source, c.pressed);
            EXPECT_EQ(session.board().at(1, 1), before.at(c.pressed));
            EXPECT_EQ(session.board().at(c.pressed), EmptyCell);
            EXPECT_EQ(session.moveCount(), 1);
        } else {
            EXPECT_EQ(session.board(), before);
            EXPECT_EQ(session.moveCount(), 0);
            EXPECT_FALSE(outcome.withinLimit || outcome.limitReached || outcome.solvedNow);
        }
    }
}

TEST(PressCell, HoleNotAtTheCentreAndCrossesTwoCellsAway) {
    GameSession session;
    session.StartLevel(1);
    ASSERT_TRUE(session.PressCell(1, 0).accepted);  // hole now at (1, 0)
    EXPECT_EQ(session.board().ToString(), "2 6 2 / 1 2 1 / 0 0 0");
    EXPECT_FALSE(session.PressCell(1, 2).accepted);  // two cells below the hole
    EXPECT_TRUE(session.PressCell(0, 0).accepted);
    EXPECT_EQ(session.board().ToString(), "6 2 2 / 1 2 1 / 0 0 0");
}

TEST(IsSolved, MiddleRowIsNotExamined) {
    EXPECT_TRUE(IsSolved(BoardOf("0 3 0 / 6 1 4 / 2 5 2")));
    EXPECT_TRUE(IsSolved(BoardOf("0 0 0 / 4 6 4 / 5 5 5")));
    EXPECT_TRUE(IsSolved(BoardOf("3 3 3 / 1 4 6 / 2 2 5")));
    EXPECT_FALSE(IsSolved(BoardOf("0 0 6 / 4 0 4 / 5 5 5")));
    EXPECT_FALSE(IsSolved(BoardOf("0 0 0 / 4 5 4 / 5 5 6")));
    EXPECT_FALSE(IsSolved(BoardOf("0 1 0 / 4 0 6 / 5 5 5")));
}

// The 18 presses that solve level 32 in the fewest moves.
const std::vector<Cell> Level32Solution = {{1, 2}, {0, 1}, {1, 0}, {1, 1}, {0, 0}, {1, 0},
                                           {2, 1}, {2, 2}, {1, 1}, {2, 0}, {2, 1}, {1, 2},
                                           {0, 1}, {0, 2}, {1, 1}, {0, 1}, {1, 0}, {1, 1}};

TEST(PressCell, Level32SolvedOnTheEighteenthPressOnly) {
    GameSession session;
    session.StartLevel(32);
    EXPECT_EQ(session.board().ToString(), "5 5 5 / 4 6 4 / 0 0 0");
    for (std::size_t i = 0; i < Level32Solution.size(); ++i) {
        const MoveOutcome outcome =
            session.PressCell(Level32Solution[i].column, Level32Solution[i].row);
        ASSERT_TRUE(outcome.accepted) << "press " << i + 1;
        EXPECT_TRUE(outcome.withinLimit);
        EXPECT_EQ(outcome.solvedNow, i + 1 == Level32Solution.size()) << "press " << i + 1;
    }
    EXPECT_EQ(session.board().ToString(), "0 0 0 / 4 6 4 / 5 5 5");
    EXPECT_EQ(session.moveCount(), 18);
    EXPECT_TRUE(session.solved());
}

// Presses (1,0) and (1,1) on level 1 move one cross back and forth.
void Shuffle(GameSession& session, int moves) {
    for (int i = 0; i < moves; ++i) {
        const bool holeInCentre = session.board().at(1, 1) == EmptyCell;
        const MoveOutcome outcome =
            holeInCentre ? session.PressCell(1, 0) : session.PressCell(1, 1);
        ASSERT_TRUE(outcome.accepted);
    }
}

TEST(MoveLimit, CountStopsAtTwoHundredAndReportsTheLimitOnce) {
    GameSession session;
    session.StartLevel(1);
    Shuffle(session, 198);
    MoveOutcome outcome = session.PressCell(1, 0);  // move 199
    EXPECT_TRUE(outcome.withinLimit);
    EXPECT_FALSE(outcome.limitReached);
    EXPECT_TRUE(session.NeedsGiveUpConfirmation());
    outcome = session.PressCell(1, 1);  // move 200
    EXPECT_TRUE(outcome.accepted);
    EXPECT_TRUE(outcome.limitReached);
    EXPECT_FALSE(outcome.withinLimit);
    EXPECT_EQ(session.moveCount(), 200);
    for (int i = 0; i < 5; ++i) {
        const Board before = session.board();
        outcome = i % 2 == 0 ? session.PressCell(1, 0) : session.PressCell(1, 1);
        EXPECT_TRUE(outcome.accepted);
        EXPECT_NE(session.board(), before);
        EXPECT_FALSE(outcome.limitReached || outcome.withinLimit || outcome.solvedNow);
        EXPECT_EQ(session.moveCount(), 200);
    }
}

// Level 32's solution played after `padding` back-and-forth moves of the first cross.
std::vector<MoveOutcome> SolveLevel32After(GameSession& session, int padding) {
    session.StartLevel(32);
    for (int i = 0; i < padding; ++i) {
        EXPECT_TRUE((i % 2 == 0 ? session.PressCell(1, 2) : session.PressCell(1, 1)).accepted);
    }
    std::vector<MoveOutcome> outcomes;
    for (const Cell& press : Level32Solution) {
        outcomes.push_back(session.PressCell(press.column, press.row));
    }
    return outcomes;
}

TEST(MoveLimit, SolvingOnMove199IsRecognisedButNotOnMove200) {
    // Level 32 is only solved after an even number of moves, level 1 (25 at best) after
    // an odd one.
    GameSession session;
    session.StartLevel(1);
    Shuffle(session, 174);
    const auto solution = SolveShortest(session.board());
    ASSERT_TRUE(solution && solution->size() == 25U);
    MoveOutcome last;
    for (const Cell& press : *solution) {
        last = session.PressCell(press.column, press.row);
    }
    EXPECT_TRUE(last.solvedNow);
    EXPECT_TRUE(last.withinLimit);
    EXPECT_EQ(session.moveCount(), 199);

    auto outcomes = SolveLevel32After(session, 182);
    EXPECT_TRUE(IsSolved(session.board()));
    EXPECT_FALSE(outcomes.back().solvedNow);
    EXPECT_TRUE(outcomes.back().limitReached);
    EXPECT_FALSE(session.solved());
}

TEST(MoveLimit, ReportedOnMove200AfterAnEarlierSolution) {
    GameSession session;
    auto outcomes = SolveLevel32After(session, 0);
    ASSERT_TRUE(outcomes.back().solvedNow);
    EXPECT_FALSE(session.NeedsGiveUpConfirmation());
    int reported = 0;
    for (int move = 19; move <= 200; ++move) {
        const MoveOutcome outcome =
            move % 2 == 1 ? session.PressCell(1, 0) : session.PressCell(1, 1);
        ASSERT_TRUE(outcome.accepted);
        EXPECT_FALSE(outcome.solvedNow) << "move " << move;
        reported += outcome.limitReached;
        EXPECT_EQ(outcome.limitReached, move == 200);
    }
    EXPECT_EQ(reported, 1);
}

TEST(PressCell, SolvedNowOnlyOncePerAttempt) {
    GameSession session;
    SolveLevel32After(session, 0);
    // Move a red cross off the top row and back: solved again, but not reported.
    ASSERT_TRUE(session.PressCell(1, 0).accepted);
    const MoveOutcome back = session.PressCell(1, 1);
    ASSERT_TRUE(back.accepted);
    EXPECT_TRUE(IsSolved(session.board()));
    EXPECT_FALSE(back.solvedNow);
    EXPECT_TRUE(back.withinLimit);
    // A new attempt reports it again.
    EXPECT_TRUE(SolveLevel32After(session, 0).back().solvedNow);
}

TEST(GiveUpConfirmation, InEachState) {
    GameSession session;
    session.StartLevel(1);
    EXPECT_FALSE(session.NeedsGiveUpConfirmation()) << "fresh";
    Shuffle(session, 1);
    EXPECT_TRUE(session.NeedsGiveUpConfirmation()) << "playing";
    Shuffle(session, 198);
    EXPECT_TRUE(session.NeedsGiveUpConfirmation()) << "199 moves";
    session.PressCell(1, 1);
    EXPECT_EQ(session.moveCount(), 200);
    EXPECT_FALSE(session.NeedsGiveUpConfirmation()) << "exhausted";
    SolveLevel32After(session, 0);
    EXPECT_FALSE(session.NeedsGiveUpConfirmation()) << "solved";
    session.StartLevel(32);
    EXPECT_FALSE(session.NeedsGiveUpConfirmation()) << "restarted";
    EXPECT_EQ(session.moveCount(), 0);
}

}  // namespace
}  // namespace travoli
