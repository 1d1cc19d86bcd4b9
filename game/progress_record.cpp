#include "game/progress_record.h"

namespace travoli {

SolutionResult ProgressRecord::RecordSolution(int level, int moves) {
    std::uint8_t& entry = entries_[level - 1];
    if (entry == Unsolved) {
        entry = static_cast<std::uint8_t>(moves);
        return SolutionResult::FirstSolution;
    }
    if (entry > moves) {
        entry = static_cast<std::uint8_t>(moves);
        return SolutionResult::BetterSolution;
    }
    return SolutionResult::SolvedAgain;
}

int ProgressRecord::Search(int level, int step) const {
    auto wrap = [](int candidate) {
        if (candidate > LevelCount) {
            return 1;
        }
        if (candidate < 1) {
            return LevelCount;
        }
        return candidate;
    };
    int candidate = wrap(level + step);
    for (int examined = 1; examined < LevelCount && BestMoves(candidate) != Unsolved; ++examined) {
        candidate = wrap(candidate + step);
    }
    return candidate;
}

int ProgressRecord::FindNextUnsolved(int level) const {
    return Search(level, +1);
}
int ProgressRecord::FindPreviousUnsolved(int level) const {
    return Search(level, -1);
}

}  // namespace travoli
