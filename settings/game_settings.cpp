#include "settings/game_settings.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <optional>

#include "game/board_geometry.h"
#include "game/game_session.h"
#include "settings/form_placement.h"

namespace travoli {

namespace {

constexpr const char* Section = "common";

// Runs one load step. A value the store cannot give keeps its default and is noted; once the
// store itself has failed, the remaining steps are not tried.
template <typename Step>
void LoadStep(SettingsLoadReport& report, const char* key, Step step) {
    if (report.storeFailed) {
        report.unread.insert(key);
        return;
    }
    try {
        step();
    } catch (const ERegistryException& error) {
        report.unread.insert(key);
        report.errors.push_back(error.what());
        report.storeFailed = dynamic_cast<const EHiveFailure*>(&error) != nullptr;
    }
}

// The stored best results; a value that is not text holds none.
ProgressRecord StoredProgress(TIniCtrl& ini) {
    ProgressRecord stored;
    try {
        ReadSolutionString(ini.ReadText(Section, "solution", ""), stored);
    } catch (const EHiveFailure&) {
        throw;
    } catch (const ERegistryException&) {
        stored.Clear();
    }
    return stored;
}

bool AllUnsolved(const ProgressRecord& progress) {
    for (int level = 1; level <= LevelCount; ++level) {
        if (progress.BestMoves(level) != ProgressRecord::Unsolved) {
            return false;
        }
    }
    return true;
}

bool SameName(const std::string& name, const char* ours) {
    return std::equal(name.begin(), name.end(), ours, ours + std::char_traits<char>::length(ours),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

// The five keys of LoadGameSettings, and the window's placement.
constexpr const char* GameKeys[] = {"level", "back", "sound", "tongue", "solution", "MainForm"};

std::string NumberProblem(const std::string& text, std::int32_t low, std::int32_t high,
                          const std::string& what) {
    std::int32_t value = 0;
    if (ParseStoredInteger(text, value) && value >= low && value <= high) {
        return {};
    }
    return "'" + text + "' is not " + what;
}

}  // namespace

bool IsGameSection(const std::string& section) {
    return section.find_first_not_of(' ') == std::string::npos || SameName(section, Section);
}

bool IsGameValue(const std::string& section, const std::string& key) {
    return IsGameSection(section) &&
           std::any_of(std::begin(GameKeys), std::end(GameKeys),
                       [&key](const char* ours) { return SameName(key, ours); });
}

std::string GameValueProblem(const std::string& key, const std::string& text) {
    if (SameName(key, "level")) {
        return NumberProblem(text, 1, LevelCount, "a level from 1 to 225");
    }
    if (SameName(key, "back")) {
        return NumberProblem(text, 0, TextureCount - 1, "a background from 0 to 5");
    }
    if (SameName(key, "sound")) {
        return NumberProblem(text, 0, 1, "the sound switch, 1 (on) or 0 (off)");
    }
    if (SameName(key, "tongue")) {
        return NumberProblem(text, -1, 1,
                             "a language, 0 (English), 1 (German) or -1 (ask at the next start)");
    }
    if (SameName(key, "solution")) {
        if (text.size() != LevelCount) {
            return "the results are 225 characters, one per level, not " +
                   std::to_string(text.size());
        }
        for (std::size_t i = 0; i < text.size(); ++i) {
            const int best = static_cast<std::uint8_t>(text[i]) - 32;
            if (best < 0 || best > MaxSolvingMoves) {
                return "the result of level " + std::to_string(i + 1) +
                       " is no move count from 1 to 199 + 32, nor a blank (unsolved)";
            }
        }
        return {};
    }
    if (SameName(key, "MainForm")) {
        return PlacementTextProblem(text);
    }
    return "the game keeps no value '" + key + "'";
}

std::string SolutionString(const ProgressRecord& progress) {
    std::string text(LevelCount, ' ');
    for (int level = 1; level <= LevelCount; ++level) {
        text[level - 1] =
            static_cast<char>(static_cast<std::uint8_t>(progress.BestMoves(level) + 32));
    }
    return text;
}

void ReadSolutionString(const std::string& text, ProgressRecord& progress) {
    progress.Clear();
    const int count = static_cast<int>(std::min<std::size_t>(text.size(), LevelCount));
    for (int level = 1; level <= count; ++level) {
        const auto code = static_cast<std::uint8_t>(text[level - 1]);
        progress.SetBestMoves(level, static_cast<std::uint8_t>(code - 32));
    }
}

SettingsLoadReport LoadGameSettings(TIniCtrl& ini, GameSettings& values) {
    SettingsLoadReport report;
    const GameSettings defaults;
    values.Language = defaults.Language;
    values.level = defaults.level;
    values.background = defaults.background;
    values.sound = defaults.sound;
    values.progress.Clear();

    std::optional<TIniCtrl::Transaction> reading;
    LoadStep(report, "tongue", [&] {
        reading.emplace(ini, TIniCtrl::Transaction::Reading);
        values.Language = ini.ReadNumber(Section, "tongue", NoLanguageChosen);
    });
    LoadStep(report, "level", [&] {
        values.level = std::clamp<std::int32_t>(ini.ReadNumber(Section, "level", 1), 1, LevelCount);
    });
    // Any saved index names one of the backgrounds, negative ones counted back.
    LoadStep(report, "back", [&] {
        const std::int32_t back = ini.ReadNumber(Section, "back", 0);
        values.background = static_cast<int>((back % TextureCount + TextureCount) % TextureCount);
    });
    LoadStep(report, "sound", [&] { values.sound = ini.ReadFlag(Section, "sound", true); });
    LoadStep(report, "solution",
             [&] { ReadSolutionString(ini.ReadText(Section, "solution", ""), values.progress); });
    return report;  // `reading` ends the unit of work; nothing was changed in it
}

ProgressRecord MergedProgress(const ProgressRecord& stored, const ProgressRecord& own) {
    ProgressRecord merged = own;
    for (int level = 1; level <= LevelCount; ++level) {
        const int theirs = stored.BestMoves(level);
        const int ours = own.BestMoves(level);
        if (theirs != ProgressRecord::Unsolved &&
            (ours == ProgressRecord::Unsolved || theirs < ours)) {
            merged.SetBestMoves(level, static_cast<std::uint8_t>(theirs));
        }
    }
    return merged;
}

void SaveGameSettings(TIniCtrl& ini, const GameSettings& values,
                      const std::set<std::string>& unread) {
    const GameSettings defaults;
    // A value that could not be loaded is kept as stored while ours is still the default.
    const auto keep = [&unread](const char* key, bool isDefault) {
        return isDefault && unread.count(key) != 0;
    };
    TIniCtrl::Transaction writing(ini, TIniCtrl::Transaction::Writing);
    const ProgressRecord progress = MergedProgress(StoredProgress(ini), values.progress);
    if (!keep("level", values.level == defaults.level)) {
        ini.WriteNumber(Section, "level", values.level);
    }
    if (!keep("back", values.background == defaults.background)) {
        ini.WriteNumber(Section, "back", values.background);
    }
    if (!keep("sound", values.sound == defaults.sound)) {
        ini.WriteFlag(Section, "sound", values.sound);
    }
    if (!keep("tongue", values.Language == defaults.Language)) {
        ini.WriteNumber(Section, "tongue", values.Language);
    }
    if (!keep("solution", AllUnsolved(progress))) {
        ini.WriteText(Section, "solution", SolutionString(progress));
    }
    writing.Commit();
}

}  // namespace travoli
