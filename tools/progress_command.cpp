// travoli-tool progress: the player's best results beside the shortest solutions.
#include <cstdio>
#include <iostream>
#include <string>

#include "game/game_session.h"
#include "game/level_table.h"
#include "game/solver.h"
#include "settings/game_settings.h"
#include "settings/sqlite_hive.h"
#include "tools/commands.h"

namespace travoli::tool {

int RunProgress(const Args& args) {
    constexpr int FileOption = 256;
    constexpr int UnsolvedOption = 257;
    ParsedArgs parsed;
    int status = 0;
    if (!ParseArgs("progress", args,
                   {{"file", true, FileOption}, {"unsolved", false, UnsolvedOption}}, parsed,
                   status)) {
        return status;
    }
    std::string file;
    bool onlyUnsolved = false;
    for (const auto& [id, value] : parsed.options) {
        if (id == FileOption) {
            if (value.empty()) {
                return WrongCall("progress", "progress: --file needs a path");
            }
            file = value;
        } else {
            onlyUnsolved = true;
        }
    }
    if (!parsed.operands.empty()) {
        return WrongCall("progress", "progress takes no arguments but options");
    }

    // Read as the game reads it at its start; nothing is written.
    SqliteHive hive = file.empty() ? SqliteHive() : SqliteHive(file);
    PrepareToolHive(hive);
    TIniCtrl ini(hive);
    GameSettings values;
    const SettingsLoadReport report = LoadGameSettings(ini, values);
    if (report.storeFailed || report.unread.count(ResultsKey) != 0) {
        // Only the best results matter here; the last message is theirs or the file's.
        return Fail("progress: " + Said(report.errors.back()) +
                    (report.storeFailed ? "" : " (" + hive.Path() + ")"));
    }

    int solved = 0;
    int atShortest = 0;
    int movesAbove = 0;
    int impossible = 0;
    std::printf("%5s  %4s  %8s  %10s\n", "level", "best", "shortest", "difference");
    for (int level = 1; level <= LevelCount; ++level) {
        const int best = values.progress.BestMoves(level);
        const auto solution = SolveShortest(MakeStartingBoard(LevelCodeOf(level)));
        const std::string shortest = solution ? std::to_string(solution->size()) : "none";
        std::string difference = "-";
        if (best != ProgressRecord::Unsolved) {
            ++solved;
            // A stored result below the shortest solution, or of a level without one, cannot
            // have been played: it is shown, and counted apart.
            const int above = solution ? best - static_cast<int>(solution->size()) : 0;
            if (!solution || above < 0) {
                ++impossible;
                difference = "impossible";
            } else {
                atShortest += above == 0 ? 1 : 0;
                movesAbove += above;
                difference = "+" + std::to_string(above);
            }
        }
        if (!onlyUnsolved || best == ProgressRecord::Unsolved) {
            std::printf("%5d  %4s  %8s  %10s\n", level,
                        best == ProgressRecord::Unsolved ? "-" : std::to_string(best).c_str(),
                        shortest.c_str(), difference.c_str());
        }
    }
    std::printf("%d of %d levels solved, %d at the shortest solution; %d moves above it in all\n",
                solved, LevelCount, atShortest, movesAbove);
    if (impossible > 0) {
        std::printf("%d stored result%s below the shortest solution, which no play can reach\n",
                    impossible, impossible == 1 ? "" : "s");
    }
    return 0;
}

}  // namespace travoli::tool
