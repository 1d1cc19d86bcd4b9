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
