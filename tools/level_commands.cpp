#include <iostream>
#include <optional>
#include <sstream>
#include <vector>

#include "game/game_session.h"
#include "game/level_table.h"
#include "game/solver.h"
#include "tools/commands.h"

namespace travoli::tool {

namespace {
std::string CellText(Cell cell) {
    return "(" + std::to_string(cell.column) + "," + std::to_string(cell.row) + ")";
}
}  // namespace

int RunLevels(const Args& args) {
    if (!args.empty()) {
        return Fail("levels takes no arguments");
    }
    int solvable = 0;
    int shortest = 0;
    int longest = 0;
    std::vector<int> unsolvable;
    for (int level = 1; level <= LevelCount; ++level) {
        const LevelCode code = LevelCodeOf(level);
        const Board board = MakeStartingBoard(code);
        const auto solution = SolveShortest(board);
        std::cout << "level " << level << "  code " << int{code} << "  board " << board.ToString()
                  << "  shortest ";
        if (solution) {
            const int length = static_cast<int>(solution->size());
            std::cout << length << '\n';
            shortest = solvable == 0 ? length : std::min(shortest, length);
            longest = std::max(longest, length);
            ++solvable;
        } else {
            std::cout << "none\n";
            unsolvable.push_back(level);
        }
    }
    std::cout << solvable << " of " << LevelCount << " levels solvable, shortest solutions "
              << shortest << " to " << longest << " moves; unsolvable:";
    for (std::size_t i = 0; i < unsolvable.size(); ++i) {
        std::cout << (i == 0 ? " " : ", ") << unsolvable[i];
    }
    std::cout << '\n';
    return 0;
}

int RunSolve(const Args& args) {
    bool verbose = false;
    std::optional<int> level;
    for (const std::string& arg : args) {
        int parsed = 0;
        if (arg == "--verbose" || arg == "-v") {
            verbose = true;
        } else if (!level && ParseLevel(arg, parsed)) {
            level = parsed;
        } else {
            return Fail("solve: '" + arg + "' is not a level number from 1 to 225");
        }
    }
    if (!level) {
        return Fail("solve: a level number from 1 to 225 is needed");
    }
    GameSession session;
    session.StartLevel(*level);
    const auto solution = SolveShortest(session.board());
    if (!solution) {
        std::cout << "level " << *level << " has no solution\n";
        return 0;
    }
    if (verbose) {
        std::cout << "start  " << session.board().ToString() << '\n';
    }
    for (const Cell& press : *solution) {
        session.PressCell(press.column, press.row);
        std::cout << CellText(press);
        if (verbose) {
            std::cout << "  " << session.board().ToString();
        }
        std::cout << '\n';
    }
    return 0;
}

}  // namespace travoli::tool
