#include <iostream>
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
    ParsedArgs parsed;
    int status = 0;
    if (!ParseArgs("levels", args, {}, parsed, status)) {
        return status;
    }
    if (!parsed.operands.empty()) {
        return WrongCall("levels", "levels takes no arguments");
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
    ParsedArgs parsed;
    int status = 0;
    if (!ParseArgs("solve", args, {{"verbose", false, 'v'}}, parsed, status)) {
        return status;
    }
    const bool verbose = !parsed.options.empty();
    if (parsed.operands.size() != 1) {
        return WrongCall("solve", "solve: one level number from 1 to 225 is needed");
    }
    int level = 0;
    if (!ParseLevel(parsed.operands[0], level)) {
        return WrongCall("solve",
                         "solve: '" + parsed.operands[0] + "' is not a level number from 1 to 225");
    }
    GameSession session;
    session.StartLevel(level);
    const auto solution = SolveShortest(session.board());
    if (!solution) {
        std::cout << "level " << level << " has no solution\n";
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
