#pragma once

#include <cstdint>

#include "game/board.h"

namespace travoli {

// The largest move count with which a solution is recognised.
constexpr int MaxSolvingMoves = 199;
// The move count stops here; the move that reaches it reports the limit.
constexpr int MoveLimit = 200;

struct MoveOutcome {
    bool accepted = false;
    Cell target;  // the old hole, where the cross went
    Cell source;  // the pressed cell, the new hole
    bool limitReached = false;
    bool withinLimit = false;
    bool solvedNow = false;
};

// The level being played: its board, the move count and whether this attempt solved it.
class GameSession {
  public:
    GameSession() { StartLevel(1); }

    void StartLevel(int level);
    MoveOutcome PressCell(int column, int row);
    // True while an attempt is under way: moves made, within the limit, not solved.
    bool NeedsGiveUpConfirmation() const;

    int level() const { return level_; }
    const Board& board() const { return board_; }
    int moveCount() const { return moveCount_; }
    bool solved() const { return solved_; }

  private:
    int level_ = 1;
    Board board_;
    std::uint8_t moveCount_ = 0;
    bool solved_ = false;
};

}  // namespace travoli
