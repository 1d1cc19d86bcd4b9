#pragma once

#include <optional>
#include <vector>

#include "game/board.h"

namespace travoli {

// A shortest sequence of presses from `start` to a board that passes IsSolved; nullopt when no
// sequence exists. A board that is already solved needs no press. Of several shortest
// sequences it is the one that a breadth-first search trying the cells of each board in index
// order finds first.
std::optional<std::vector<Cell>> SolveShortest(const Board& start);

}  // namespace travoli
