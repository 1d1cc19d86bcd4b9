#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "game/language.h"
#include "game/progress_record.h"
#include "settings/ini_ctrl.h"

namespace travoli {

// The five values the game keeps between runs, all in section "common".
struct GameSettings {
    travoli::Language Language = NoLanguageChosen;
    int level = 1;       // 1-225
    int background = 0;  // 0-5
    bool sound = true;
    ProgressRecord progress;
};

// What a load could not read. A value that could not be read keeps its default, and a save
// leaves its stored value alone for as long as the game still holds that default.
struct SettingsLoadReport {
    std::set<std::string> unread;     // the keys, as stored ("level", "solution", ...)
    std::vector<std::string> errors;  // the store's messages, in the order met
    bool storeFailed = false;         // the hive itself failed: nothing more was tried
};

// The saved form of the progress record: one byte per level, best move count + 32.
std::string SolutionString(const ProgressRecord& progress);
// The inverse: characters past the 225th are ignored, missing ones leave levels unsolved.
void ReadSolutionString(const std::string& text, ProgressRecord& progress);

// Whether the game keeps a value under this section and key: the five above and the window's
// placement, "MainForm", all in "common". Names compare without regard to letter case, and a
// blank section is "Common", as the store resolves them.
bool IsGameSection(const std::string& section);
bool IsGameValue(const std::string& section, const std::string& key);

// Why the game would not take `text`, stored under one of its own keys in "common", as a value
// it could have written itself (a level 1-225, a background 0-5, the sound switch 0 or 1, the
// language -1, 0 or 1, a SolutionString of results within the move limit, a placement);
// empty when it would. The numbers are read as the game reads them.
std::string GameValueProblem(const std::string& key, const std::string& text);

// Reads every value in one unit of work of the store, so a busy file costs one wait. A value
// that cannot be loaded keeps its default; the values after it still load, so one bad entry
// never costs the best results. When the store itself fails, the rest is not tried.
SettingsLoadReport LoadGameSettings(TIniCtrl& ini, GameSettings& values);

// The record to save: per level the better of the stored entry and our own (any solution beats
// none, fewer moves beat more), so a result saved meanwhile by another copy of the game stays.
ProgressRecord MergedProgress(const ProgressRecord& stored, const ProgressRecord& own);

// Writes the five values in order, in one transaction that takes the write lock before the
// stored best results are read and merged with ours, so two copies saving at once cannot
// interleave. A key in `unread` is written only once its value differs from the default it
// was loaded as. An error of the store travels on, and nothing of this save is kept.
void SaveGameSettings(TIniCtrl& ini, const GameSettings& values,
                      const std::set<std::string>& unread = {});

}  // namespace travoli
