#include "settings/game_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <set>
#include <variant>

#include "settings/sqlite_hive.h"
#include "tests/support/english_message.h"
#include "tests/support/memory_hive.h"
#include "tests/support/temp_folder.h"

namespace travoli {
namespace {

class GameSettingsTest : public ::testing::Test {
  protected:
    test::TempFolder folder;
    std::string path = folder / "Travoli/registry.sqlite3";
    SqliteHive hive{path};
    TIniCtrl ini{hive};
    std::vector<std::string> errors;
    SettingsLoadReport report;

    GameSettings Load() {
        GameSettings values;
        values.level = 99;  // whatever was there before must not survive
        values.progress.SetBestMoves(3, 3);
        report = LoadGameSettings(ini, values);
        for (const std::exception_ptr& error : report.errors) {
            errors.push_back(test::EnglishMessage(error));
        }
        return values;
    }

    std::uint32_t StoredType(const std::string& name) {
        HKEY key = 0;
        std::uint32_t type = REG_NONE;
        std::string data;
        EXPECT_EQ(hive.OpenKey(HKEY_CURRENT_USER, "Software\\ZanfirGames\\Travoli\\V2\\common",
                               KeyAccess::Read, key),
                  HiveStatus::Ok);
        EXPECT_EQ(hive.QueryValueData(key, name, type, data), HiveStatus::Ok);
        hive.CloseKey(key);
        return type;
    }

    void PutRaw(const std::string& name, std::uint32_t type, const std::string& data) {
        HKEY key = 0;
        ASSERT_EQ(hive.CreateKey(HKEY_CURRENT_USER, "Software\\ZanfirGames\\Travoli\\V2\\common",
                                 KeyAccess::AllAccess, key),
                  HiveStatus::Ok);
        ASSERT_EQ(hive.SetValue(key, name, type, data), HiveStatus::Ok);
        ASSERT_EQ(hive.CloseKey(key), HiveStatus::Ok);
    }
};

TEST_F(GameSettingsTest, FirstRunGivesDefaultsAndWritesNothing) {
    const GameSettings values = Load();
    EXPECT_EQ(values.Language, -1);
    EXPECT_EQ(values.level, 1);
    EXPECT_EQ(values.background, 0);
    EXPECT_TRUE(values.sound);
    for (int level = 1; level <= LevelCount; ++level) {
        EXPECT_EQ(values.progress.BestMoves(level), 0) << level;
    }
    EXPECT_TRUE(errors.empty());
    EXPECT_FALSE(std::filesystem::exists(folder / "Travoli"));
}

TEST_F(GameSettingsTest, SolutionStringBothWays) {
    ProgressRecord progress;
    EXPECT_EQ(SolutionString(progress), std::string(225, ' '));
    progress.SetBestMoves(1, 20);
    progress.SetBestMoves(2, 3);
    EXPECT_EQ(SolutionString(progress), "4#" + std::string(223, ' '));

    // Every entry value survives the round trip, those above 223 included.
    for (int value = 0; value < 256; ++value) {
        progress.SetBestMoves(1 + value % LevelCount, static_cast<std::uint8_t>(value));
        ProgressRecord back;
        ReadSolutionString(SolutionString(progress), back);
        for (int level = 1; level <= LevelCount; ++level) {
            ASSERT_EQ(back.BestMoves(level), progress.BestMoves(level)) << value;
        }
    }
}

TEST_F(GameSettingsTest, SavedSolutionsOfEveryLength) {
    struct Case {
        const char* what;
        std::string stored;
        std::vector<std::pair<int, int>> expected;  // level, best moves
    };
    std::string withControl = "!!!!!!" + std::string(1, '\x05') + "!";
    const Case cases[] = {
        {"empty", "", {{1, 0}, {225, 0}}},
        {"short", std::string(100, '#'), {{1, 3}, {100, 3}, {101, 0}, {225, 0}}},
        {"long", std::string(225, '%') + std::string(75, '!'), {{1, 5}, {225, 5}}},
        {"code below 32", withControl, {{6, 1}, {7, 229}, {8, 1}, {9, 0}}},
        {"bytes above 127", std::string(1, '\xE7') + "\x80", {{1, 199}, {2, 96}, {3, 0}}},
    };
    for (const Case& c : cases) {
        ini.WriteText("common", "solution", c.stored);
        const GameSettings values = Load();
        for (const auto& [level, best] : c.expected) {
            EXPECT_EQ(values.progress.BestMoves(level), best) << c.what << " level " << level;
        }
        SaveGameSettings(ini, values);
        const std::string saved = ini.ReadText("common", "solution", "");
        EXPECT_EQ(saved.size(), 225u) << c.what;
        const std::string kept = c.stored.substr(0, 225);
        EXPECT_EQ(saved.substr(0, kept.size()), kept) << c.what;
    }
}

TEST_F(GameSettingsTest, LevelAndBackgroundBroughtIntoRange) {
    struct Case {
        const char* level;
        int expectedLevel;
        const char* back;
        int expectedBack;
    };
    const Case cases[] = {
        {"300", 225, "6", 0},
        {"0", 1, "-1", 5},
        {"-5", 1, "-6", 0},
        {"225", 225, "5", 5},
        {"1", 1, "13", 1},
        {"abc", 1, "x", 0},
        {"$E1", 225, "-2147483648", 4},
        {"2147483647", 225, "2147483647", 1},
    };
    for (const Case& c : cases) {
        ini.WriteText("common", "level", c.level);
        ini.WriteText("common", "back", c.back);
        const GameSettings values = Load();
        EXPECT_EQ(values.level, c.expectedLevel) << c.level;
        EXPECT_EQ(values.background, c.expectedBack) << c.back;
    }
}

TEST_F(GameSettingsTest, SaveWritesTheFiveValuesAndLoadReadsThemBack) {
    GameSettings values;
    values.Language = 1;
    values.level = 42;
    values.background = 3;
    values.sound = false;
    values.progress.SetBestMoves(225, 199);
    SaveGameSettings(ini, values);

    EXPECT_EQ(ini.ReadText("Common", "level", ""), "42");
    EXPECT_EQ(ini.ReadText("Common", "back", ""), "3");
    EXPECT_EQ(ini.ReadText("Common", "sound", ""), "0");
    EXPECT_EQ(ini.ReadText("Common", "tongue", ""), "1");
    EXPECT_EQ(ini.ReadText("Common", "solution", ""), std::string(224, ' ') + "\xE7");

    const GameSettings back = Load();
    EXPECT_EQ(back.Language, 1);
    EXPECT_EQ(back.level, 42);
    EXPECT_EQ(back.background, 3);
    EXPECT_FALSE(back.sound);
    EXPECT_EQ(back.progress.BestMoves(225), 199);
    EXPECT_EQ(back.progress.BestMoves(3), 0);
    EXPECT_TRUE(errors.empty());
}

TEST_F(GameSettingsTest, ValueOfForeignTypeIsReportedAndTheRestStillLoads) {
    GameSettings saved;
    saved.level = 17;
    saved.progress.SetBestMoves(4, 30);
    SaveGameSettings(ini, saved);
    PutRaw("tongue", REG_DWORD, std::string("\x01\0\0\0", 4));
    PutRaw("sound", REG_BINARY, "\x01");

    GameSettings values = Load();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0], "Ungültiger Datentyp für 'tongue'");
    EXPECT_EQ(errors[1], "Ungültiger Datentyp für 'sound'");
    EXPECT_EQ(report.unread, (std::set<std::string>{"tongue", "sound"}));
    EXPECT_FALSE(report.storeFailed);
    EXPECT_EQ(values.Language, -1);
    EXPECT_TRUE(values.sound);
    EXPECT_EQ(values.level, 17);
    EXPECT_EQ(values.progress.BestMoves(4), 30);

    // A save keeps what could not be read while the game still holds the default in its
    // place; a value the player has chosen meanwhile is written.
    values.level = 18;
    SaveGameSettings(ini, values, report.unread);
    EXPECT_EQ(StoredType("tongue"), REG_DWORD);
    EXPECT_EQ(StoredType("sound"), REG_BINARY);
    values.Language = 0;
    SaveGameSettings(ini, values, report.unread);
    errors.clear();
    values = Load();
    EXPECT_EQ(errors, std::vector<std::string>{"Ungültiger Datentyp für 'sound'"});
    EXPECT_EQ(values.Language, 0);
    EXPECT_EQ(values.level, 18);
    EXPECT_EQ(values.progress.BestMoves(4), 30);

    // Without anything unread, text takes their place.
    SaveGameSettings(ini, values);
    errors.clear();
    values = Load();
    EXPECT_TRUE(errors.empty());
    EXPECT_TRUE(report.unread.empty());
}

// The table serves the game and the tool alike: what the game writes, the tool's check takes,
// one past a number's range it does not, and a load folds such a number back into range.
TEST_F(GameSettingsTest, EveryTableRowAgreesWithTheToolsCheck) {
    GameSettings played;
    played.Language = GermanLanguage;
    played.level = LevelCount;
    played.background = TextureCount - 1;
    played.sound = false;
    played.progress.SetBestMoves(1, MaxSolvingMoves);
    played.progress.SetBestMoves(2, 1);
    for (const GameSettings& values : {GameSettings(), played}) {
        SaveGameSettings(ini, values);
        for (const SavedValue& value : SavedValues) {
            EXPECT_TRUE(IsGameValue("COMMON", value.key)) << value.key;
            if (!std::holds_alternative<std::monostate>(value.member)) {
                const std::string stored = ini.ReadText(GameSection, value.key, "");
                EXPECT_EQ(GameValueProblem(value.key, stored), "") << value.key << " " << stored;
            }
        }
    }
    for (const SavedValue& value : SavedValues) {
        const auto* number = std::get_if<std::int32_t GameSettings::*>(&value.member);
        if (number == nullptr && !std::holds_alternative<bool GameSettings::*>(value.member)) {
            continue;
        }
        for (const std::int32_t outside : {value.low - 1, value.high + 1}) {
            EXPECT_NE(GameValueProblem(value.key, std::to_string(outside)), "") << value.key;
            if (number != nullptr && value.fold != Fold::Keep) {
                ini.WriteNumber(GameSection, value.key, outside);
                const GameSettings loaded = Load();
                EXPECT_GE(loaded.*(*number), value.low) << value.key << " " << outside;
                EXPECT_LE(loaded.*(*number), value.high) << value.key << " " << outside;
            }
        }
    }
    EXPECT_TRUE(errors.empty());
}

TEST(GameSettingsMerge, TheBetterEntryOfEachLevelWins) {
    struct Case {
        int stored, own, merged;
    };
    // 0 is unsolved; entries above 199 come from stored codes below 32 and still count.
    const Case cases[] = {{0, 0, 0},    {0, 25, 25},   {25, 0, 25},  {25, 18, 18},
                          {18, 25, 18}, {230, 20, 20}, {230, 0, 230}};
    ProgressRecord stored;
    ProgressRecord own;
    for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
        stored.SetBestMoves(i + 1, static_cast<std::uint8_t>(cases[i].stored));
        own.SetBestMoves(i + 1, static_cast<std::uint8_t>(cases[i].own));
    }
    const ProgressRecord merged = MergedProgress(stored, own);
    for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
        EXPECT_EQ(merged.BestMoves(i + 1), cases[i].merged)
            << cases[i].stored << " stored, " << cases[i].own << " own";
    }
}

TEST_F(GameSettingsTest, TwoCopiesKeepEachOthersBestResults) {
    GameSettings first;
    first.progress.SetBestMoves(7, 40);
    SaveGameSettings(ini, first);

    // Both copies start from the same record; B solves level 1 and quits first.
    GameSettings copyA = Load();
    GameSettings copyB = Load();
    copyB.progress.SetBestMoves(1, 25);
    copyB.progress.SetBestMoves(7, 30);
    copyB.level = 2;
    SaveGameSettings(ini, copyB);
    copyA.progress.SetBestMoves(32, 18);
    copyA.level = 33;
    copyA.background = 4;
    SaveGameSettings(ini, copyA);

    const GameSettings after = Load();
    EXPECT_EQ(after.progress.BestMoves(1), 25);
    EXPECT_EQ(after.progress.BestMoves(7), 30);
    EXPECT_EQ(after.progress.BestMoves(32), 18);
    // The other four values are the closing copy's.
    EXPECT_EQ(after.level, 33);
    EXPECT_EQ(after.background, 4);
}

TEST(GameSettingsSave, AnErrorStopsTheRemainingWrites) {
    test::MemoryHive hive;
    TIniCtrl ini(hive);
    hive.refusedCreate = {"software\\zanfirgames\\travoli\\v2\\common"};
    // The base key is there, the section cannot be made: the first write fails.
    EXPECT_THROW(SaveGameSettings(ini, GameSettings{}), ERegistryException);
    int sets = 0;
    for (const std::string& call : hive.calls) {
        sets += call.rfind("set ", 0) == 0 ? 1 : 0;
    }
    EXPECT_EQ(sets, 0);

    hive.refusedCreate.clear();
    SaveGameSettings(ini, GameSettings{});
    std::vector<std::string> order;
    for (const std::string& call : hive.calls) {
        if (call.rfind("set ", 0) == 0) {
            order.push_back(call.substr(4));
        }
    }
    EXPECT_EQ(order, (std::vector<std::string>{"level", "back", "sound", "tongue", "solution"}));
}

}  // namespace
}  // namespace travoli
