#include "settings/game_settings.h"

#include <algorithm>
#include <exception>

#include "game/board_geometry.h"

namespace travoli {

namespace {

constexpr const char* Section = "common";

// Runs one load step; its error is reported and the step's default stays.
template <typename Step>
void LoadStep(const SettingsErrorHandler& onError, Step step) {
    try {
        step();
    } catch (const std::exception& error) {
        if (onError) {
            onError(error.what());
        }
    }
}

}  // namespace

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

void LoadGameSettings(TIniCtrl& ini, GameSettings& values, const SettingsErrorHandler& onError) {
    const GameSettings defaults;
    values.Language = defaults.Language;
    LoadStep(onError,
             [&] { values.Language = ini.ReadNumber(Section, "tongue", NoLanguageChosen); });

    values.level = defaults.level;
    LoadStep(onError, [&] {
        values.level = std::clamp<std::int32_t>(ini.ReadNumber(Section, "level", 1), 1, LevelCount);
    });

    // Any saved index names one of the backgrounds, negative ones counted back.
    values.background = defaults.background;
    LoadStep(onError, [&] {
        const std::int32_t back = ini.ReadNumber(Section, "back", 0);
        values.background = static_cast<int>((back % TextureCount + TextureCount) % TextureCount);
    });

    values.sound = defaults.sound;
    LoadStep(onError, [&] { values.sound = ini.ReadFlag(Section, "sound", true); });

    values.progress.Clear();
    LoadStep(onError,
             [&] { ReadSolutionString(ini.ReadText(Section, "solution", ""), values.progress); });
}

void SaveGameSettings(TIniCtrl& ini, const GameSettings& values) {
    ini.WriteNumber(Section, "level", values.level);
    ini.WriteNumber(Section, "back", values.background);
    ini.WriteFlag(Section, "sound", values.sound);
    ini.WriteNumber(Section, "tongue", values.Language);
    ini.WriteText(Section, "solution", SolutionString(values.progress));
}

}  // namespace travoli
