#pragma once

#include "game/board.h"

namespace travoli {

// The move rule: a straight cross moves to an orthogonal neighbour, a diagonal cross to a
// diagonal neighbour, and only into the hole. The hole itself never moves.
bool IsLegalPress(const Board& board, Cell pressed);

// Moves the cross on `pressed` into the hole; the press must be legal. Returns the old hole.
Cell ApplyPress(Board& board, Cell pressed);

// The goal: red crosses fill the top row and blue crosses the bottom row.
bool IsSolved(const Board& board);

}  // namespace travoli
