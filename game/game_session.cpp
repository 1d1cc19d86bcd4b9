#include "game/game_session.h"

#include "game/level_table.h"
#include "game/moves.h"

namespace travoli {

void GameSession::StartLevel(int level) {
    level_ = level;
    board_ = MakeStartingBoard(LevelCodeOf(level));
    solved_ = false;
    moveCount_ = 0;
}

MoveOutcome GameSession::PressCell(int column, int row) {
    MoveOutcome outcome;
    const Cell pressed{column, row};
    if (!IsLegalPress(board_, pressed)) {
        return outcome;
    }
    outcome.accepted = true;
    outcome.source = pressed;
    outcome.target = ApplyPress(board_, pressed);
    outcome.limitReached = moveCount_ == MaxSolvingMoves;
    if (moveCount_ < MoveLimit) {
        ++moveCount_;
    }
    // After the limit crosses still move, but nothing counts any more.
    if (moveCount_ == MoveLimit) {
        return outcome;
    }
    outcome.withinLimit = true;
    if (!solved_ && IsSolved(board_)) {
        solved_ = true;
        outcome.solvedNow = true;
    }
    return outcome;
}

bool GameSession::NeedsGiveUpConfirmation() const {
    return !solved_ && moveCount_ >= 1 && moveCount_ <= MaxSolvingMoves;
}

}  // namespace travoli
