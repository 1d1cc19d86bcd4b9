#pragma once

#include <optional>
#include <vector>

#include "game/board.h"

namespace travoli {

// A shortest sequence of presses from `start` to a board that passes IsSolved, found by
// breadth-first search over the boards reachable under the move rules; nullopt when no
// sequence exists. A board that is already solved needs no press.
std::optional<std::vector<Cell>> SolveShortest(const Board& start);

}  // namespace travoli
