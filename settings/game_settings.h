#pragma once

#include <cstdint>
#include <exception>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "game/board_geometry.h"
#include "game/game_session.h"
#include "game/language.h"
#include "game/progress_record.h"
#include "settings/ini_ctrl.h"

namespace travoli {

// The section of the store that holds the game's values and the window's placement, as the
// game first writes it. The store compares section names without regard to letter case.
inline constexpr const char* GameSection = "common";

// The five values the game keeps between runs; a new one starts as the table below says.
struct GameSettings {
    GameSettings();

    travoli::Language Language;
    std::int32_t level;
    std::int32_t background;
    bool sound;
    ProgressRecord progress;
};

// How a loaded number outside the range the game writes is taken.
enum class Fold {
    Keep,   // as it is: every value means something
    Clamp,  // to the nearer end of the range
    Wrap,   // modulo the range's size, negative ones counted back from its end
};

// One value the game keeps in GameSection. The member says what is stored: a number, a flag
// (as 1 or 0), the results (as a SolutionString), or nothing for the window's placement, which
// the window reads and writes itself (settings/form_placement.h).
struct SavedValue {
    using Member = std::variant<std::monostate, std::int32_t GameSettings::*, bool GameSettings::*,
                                ProgressRecord GameSettings::*>;
    const char* key;
    Member member;
    std::int32_t byDefault;  // a number's, or a flag's as 1 or 0; the results start unsolved
    std::int32_t low;        // the range the game writes; for the results, of one move count
    std::int32_t high;
    Fold fold;
    const char* meaning;  // a number's range in words, for a value the game would not take
    int readAt;           // the place in the order of loading; saving goes in table order
};

inline constexpr SavedValue SavedValues[] = {
    {"level", &GameSettings::level, 1, 1, LevelCount, Fold::Clamp, "a level from 1 to 225", 2},
    {"back", &GameSettings::background, 0, 0, TextureCount - 1, Fold::Wrap,
     "a background from 0 to 5", 3},
    {"sound", &GameSettings::sound, 1, 0, 1, Fold::Keep, "the sound switch, 1 (on) or 0 (off)", 4},
    {"tongue", &GameSettings::Language, NoLanguageChosen, NoLanguageChosen, GermanLanguage,
     Fold::Keep, "a language, 0 (English), 1 (German) or -1 (ask at the next start)", 1},
    {"solution", &GameSettings::progress, 0, 1, MaxSolvingMoves, Fold::Keep, nullptr, 5},
    {"MainForm", std::monostate{}, 0, 0, 0, Fold::Keep, nullptr, 0},
};

// The key of the best results, by the table.
inline constexpr const char* ResultsKey = [] {
    for (const SavedValue& value : SavedValues) {
        if (std::holds_alternative<ProgressRecord GameSettings::*>(value.member)) {
            return value.key;
        }
    }
    return "";
}();

// What a load could not read. A value that could not be read keeps its default, and a save
// leaves its stored value alone for as long as the game still holds that default.
struct SettingsLoadReport {
    std::set<std::string> unread;            // the keys, as stored ("level", "solution", ...)
    std::vector<std::exception_ptr> errors;  // what the store raised, in the order met
    bool storeFailed = false;                // the hive itself failed: nothing more was tried
};

// The saved form of the progress record: one byte per level, best move count + 32.
std::string SolutionString(const ProgressRecord& progress);
// The inverse: characters past the 225th are ignored, missing ones leave levels unsolved.
void ReadSolutionString(const std::string& text, ProgressRecord& progress);

// Whether the game keeps a value under this section and key: a key of SavedValues in
// GameSection. Names compare without regard to letter case, and a blank section is taken for
// GameSection, as a fresh store resolves a blank name to "Common", the same section.
bool IsGameSection(const std::string& section);
bool IsGameValue(const std::string& section, const std::string& key);

// Why the game would not take `text`, stored under one of its own keys in GameSection, as a
// value it could have written itself (within the row's range, a SolutionString of results
// within the move limit, a placement); empty when it would. The numbers are read as the game reads
// them.
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
