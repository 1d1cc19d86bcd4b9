#pragma once

#include <cstdint>
#include <functional>
#include <string>

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

// Receives the text of an error met while loading one value.
using SettingsErrorHandler = std::function<void(const std::string& message)>;

// The saved form of the progress record: one byte per level, best move count + 32.
std::string SolutionString(const ProgressRecord& progress);
// The inverse: characters past the 225th are ignored, missing ones leave levels unsolved.
void ReadSolutionString(const std::string& text, ProgressRecord& progress);

// Reads every value. A value that cannot be loaded keeps its default and its error goes to
// `onError`; the values after it still load, so a bad entry never costs the best results.
void LoadGameSettings(TIniCtrl& ini, GameSettings& values, const SettingsErrorHandler& onError);

// Writes the five values in order; an error of the store travels on and skips the rest.
void SaveGameSettings(TIniCtrl& ini, const GameSettings& values);

}  // namespace travoli
