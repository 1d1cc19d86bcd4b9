#include "settings/game_settings.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <optional>
#include <variant>

#include "game/board_geometry.h"
#include "game/game_session.h"
#include "settings/form_placement.h"

namespace travoli {

namespace {

// The visitor of a row's member: one lambda for each kind of value.
template <typename... Kinds>
struct ForKind : Kinds... {
    using Kinds::operator()...;
};

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
        report.errors.push_back(std::current_exception());
        report.storeFailed = dynamic_cast<const EHiveFailure*>(&error) != nullptr;
    }
}

// The stored best results; a value that is not text holds none.
ProgressRecord StoredProgress(TIniCtrl& ini) {
    ProgressRecord stored;
    try {
        ReadSolutionString(ini.ReadText(GameSection, ResultsKey, ""), stored);
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

const SavedValue* FindSaved(const std::string& key) {
    const auto found =
        std::find_if(std::begin(SavedValues), std::end(SavedValues),
                     [&key](const SavedValue& value) { return SameName(key, value.key); });
    return found == std::end(SavedValues) ? nullptr : found;
}

std::int32_t Folded(const SavedValue& value, std::int32_t stored) {
    switch (value.fold) {
        case Fold::Clamp:
            return std::clamp(stored, value.low, value.high);
        case Fold::Wrap: {
            const std::int64_t size = std::int64_t{value.high} - value.low + 1;
            return static_cast<std::int32_t>(
                value.low + ((stored - std::int64_t{value.low}) % size + size) % size);
        }
        case Fold::Keep:
            break;
    }
    return stored;
}

std::string NumberProblem(const std::string& text, const SavedValue& value) {
    std::int32_t number = 0;
    if (ParseStoredInteger(text, number) && number >= value.low && number <= value.high) {
        return {};
    }
    return "'" + text + "' is not " + value.meaning;
}

std::string ResultsProblem(const std::string& text, const SavedValue& value) {
    if (text.size() != LevelCount) {
        return "the results are " + std::to_string(LevelCount) +
               " characters, one per level, not " + std::to_string(text.size());
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int best = static_cast<std::uint8_t>(text[i]) - 32;
        if (best != ProgressRecord::Unsolved && (best < value.low || best > value.high)) {
            return "the result of level " + std::to_string(i + 1) + " is no move count from " +
                   std::to_string(value.low) + " to " + std::to_string(value.high) +
                   " + 32, nor a blank (unsolved)";
        }
    }
    return {};
}

}  // namespace

GameSettings::GameSettings() {
    for (const SavedValue& value : SavedValues) {
        std::visit(
            ForKind{[](std::monostate) {},
                    [&](std::int32_t GameSettings::*number) { this->*number = value.byDefault; },
                    [&](bool GameSettings::*flag) { this->*flag = value.byDefault != 0; },
                    [&](ProgressRecord GameSettings::*results) { (this->*results).Clear(); }},
            value.member);
    }
}

bool IsGameSection(const std::string& section) {
    return section.find_first_not_of(' ') == std::string::npos || SameName(section, GameSection);
}

bool IsGameValue(const std::string& section, const std::string& key) {
    return IsGameSection(section) && FindSaved(key) != nullptr;
}

std::string GameValueProblem(const std::string& key, const std::string& text) {
    const SavedValue* value = FindSaved(key);
    if (value == nullptr) {
        return "the game keeps no value '" + key + "'";
    }
    return std::visit(
        ForKind{[&](std::monostate) { return PlacementTextProblem(text); },
                [&](ProgressRecord GameSettings::*) { return ResultsProblem(text, *value); },
                [&](auto) { return NumberProblem(text, *value); }},
        value->member);
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
    values = GameSettings();
    std::optional<TIniCtrl::Transaction> reading;
    for (int place = 1; place <= static_cast<int>(std::size(SavedValues)); ++place) {
        for (const SavedValue& value : SavedValues) {
            if (value.readAt != place) {
                continue;
            }
            LoadStep(report, value.key, [&] {
                if (!reading) {
                    reading.emplace(ini, TIniCtrl::Transaction::Reading);
                }
                std::visit(
                    ForKind{[](std::monostate) {},
                            [&](std::int32_t GameSettings::*number) {
                                values.*number = Folded(
                                    value, ini.ReadNumber(GameSection, value.key, value.byDefault));
                            },
                            [&](bool GameSettings::*flag) {
                                values.*flag =
                                    ini.ReadFlag(GameSection, value.key, value.byDefault != 0);
                            },
                            [&](ProgressRecord GameSettings::*results) {
                                ReadSolutionString(ini.ReadText(GameSection, value.key, ""),
                                                   values.*results);
                            }},
                    value.member);
            });
        }
    }
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
    TIniCtrl::Transaction writing(ini, TIniCtrl::Transaction::Writing);
    const ProgressRecord progress = MergedProgress(StoredProgress(ini), values.progress);
    for (const SavedValue& value : SavedValues) {
        // A value that could not be loaded is kept as stored while ours is still the default.
        const auto write = [&](bool isDefault) {
            return !isDefault || unread.count(value.key) == 0;
        };
        std::visit(ForKind{[](std::monostate) {},
                           [&](std::int32_t GameSettings::*number) {
                               if (write(values.*number == defaults.*number)) {
                                   ini.WriteNumber(GameSection, value.key, values.*number);
                               }
                           },
                           [&](bool GameSettings::*flag) {
                               if (write(values.*flag == defaults.*flag)) {
                                   ini.WriteFlag(GameSection, value.key, values.*flag);
                               }
                           },
                           [&](ProgressRecord GameSettings::*) {
                               if (write(AllUnsolved(progress))) {
                                   ini.WriteText(GameSection, value.key, SolutionString(progress));
                               }
                           }},
                   value.member);
    }
    writing.Commit();
}

}  // namespace travoli
