#pragma once

#include <array>
#include <cstdint>

#include "game/level_table.h"

namespace travoli {

enum class SolutionResult { FirstSolution, BetterSolution, SolvedAgain };

// The best move count of every level; 0 means unsolved. Entries above 199 can only come
// from saved settings and count as solved.
class ProgressRecord {
  public:
    static constexpr std::uint8_t Unsolved = 0;  // the entry of a level never solved

    std::uint8_t BestMoves(int level) const { return entries_[level - 1]; }
    void SetBestMoves(int level, std::uint8_t moves) { entries_[level - 1] = moves; }
    void Clear() { entries_.fill(Unsolved); }

    SolutionResult RecordSolution(int level, int moves);

    // The nearest unsolved level after (before) `level`, wrapping around; `level` itself is
    // never examined, and comes back when every other level is solved.
    int FindNextUnsolved(int level) const;
    int FindPreviousUnsolved(int level) const;

  private:
    int Search(int level, int step) const;

    std::array<std::uint8_t, LevelCount> entries_{};
};

}  // namespace travoli
