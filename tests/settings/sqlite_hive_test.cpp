#include "settings/sqlite_hive.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "settings/game_settings.h"
#include "settings/ini_ctrl.h"
#include "tests/support/english_message.h"
#include "tests/support/temp_folder.h"

namespace travoli {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> FilesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(SqliteHive, DefaultPathFollowsXdgConfigHome) {
    const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = oldConfig ? oldConfig : "";
    const char* home = std::getenv("HOME");
    ASSERT_NE(home, nullptr);

    setenv("XDG_CONFIG_HOME", "/some/where", 1);
    EXPECT_EQ(SqliteHive::DefaultPath(), "/some/where/ZanfirGames/Travoli/registry.sqlite3");
    setenv("XDG_CONFIG_HOME", "relative", 1);
    EXPECT_EQ(SqliteHive::DefaultPath(),
              std::string(home) + "/.config/ZanfirGames/Travoli/registry.sqlite3");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(SqliteHive::DefaultPath(),
              std::string(home) + "/.config/ZanfirGames/Travoli/registry.sqlite3");
    if (oldConfig) {
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    }
}

TEST(SqliteHive, KeysAndValues) {
    test::TempFolder folder;
    SqliteHive hive(folder / "hive.sqlite3");
    HKEY key = 0;
    EXPECT_EQ(hive.OpenKey(HKEY_CURRENT_USER, "A\\B", KeyAccess::Read, key), HiveStatus::NotFound);
    EXPECT_FALSE(fs::exists(folder / "hive.sqlite3"));

    ASSERT_EQ(hive.CreateKey(HKEY_CURRENT_USER, "A\\B\\", KeyAccess::AllAccess, key),
              HiveStatus::Ok);
    EXPECT_EQ(hive.SetValue(key, "bin", REG_BINARY, std::string("\0\xff\x01", 3)), HiveStatus::Ok);
    EXPECT_EQ(hive.SetValue(key, "", REG_SZ, std::string("default\0", 8)), HiveStatus::Ok);
    HKEY child = 0;
    // A path relative to an open key, and an empty path for the key itself.
    EXPECT_EQ(hive.CreateKey(key, "C", KeyAccess::AllAccess, child), HiveStatus::Ok);
    HKEY same = 0;
    EXPECT_EQ(hive.OpenKey(key, "", KeyAccess::AllAccess, same), HiveStatus::Ok);
    EXPECT_EQ(hive.DeleteValue(same, "nothing"), HiveStatus::NotFound);
    EXPECT_EQ(hive.CloseKey(same), HiveStatus::Ok);
    EXPECT_EQ(hive.CloseKey(child), HiveStatus::Ok);
    EXPECT_EQ(hive.CloseKey(key), HiveStatus::Ok);
    EXPECT_EQ(hive.CloseKey(key), HiveStatus::InvalidHandle);

    ASSERT_EQ(hive.OpenKey(HKEY_CURRENT_USER, "a\\b", KeyAccess::Read, key), HiveStatus::Ok);
    ValueInfo info;
    EXPECT_EQ(hive.QueryValueInfo(key, "BIN", info), HiveStatus::Ok);
    EXPECT_EQ(info.type, REG_BINARY);
    EXPECT_EQ(info.size, 3u);
    std::uint32_t type = 0;
    std::string data;
    EXPECT_EQ(hive.QueryValueData(key, "bin", type, data), HiveStatus::Ok);
    EXPECT_EQ(data, std::string("\0\xff\x01", 3));
    // A unit of work that began as a read stays one.
    HKEY denied = 0;
    EXPECT_EQ(hive.CreateKey(key, "D", KeyAccess::AllAccess, denied), HiveStatus::AccessDenied);
    EXPECT_EQ(hive.SetValue(key, "bin", REG_SZ, "x"), HiveStatus::AccessDenied);
    EXPECT_EQ(hive.CloseKey(key), HiveStatus::Ok);

    std::vector<SqliteHive::Entry> entries;
    ASSERT_EQ(hive.Dump(entries), HiveStatus::Ok);
    std::vector<std::string> seen;
    for (const auto& entry : entries) {
        seen.push_back(entry.keyPath + (entry.isKey ? "" : "|" + entry.valueName));
    }
    const std::vector<std::string> expected = {"A", "A\\B", "A\\B|", "A\\B|bin", "A\\B\\C"};
    EXPECT_EQ(seen, expected);
}

TEST(SqliteHive, UnfinishedUnitOfWorkLeavesNoTrace) {
    test::TempFolder folder;
    const std::string path = folder / "hive.sqlite3";
    {
        SqliteHive writer(path);
        TIniCtrl ini(writer);
        ini.WriteText("common", "v", "old");
        HKEY key = 0;
        ASSERT_EQ(writer.CreateKey(HKEY_CURRENT_USER, "Software\\ZanfirGames\\Travoli\\V2\\common",
                                   KeyAccess::AllAccess, key),
                  HiveStatus::Ok);
        ASSERT_EQ(writer.SetValue(key, "v", REG_SZ, std::string("new\0", 4)), HiveStatus::Ok);
        ASSERT_EQ(writer.CreateKey(key, "half", KeyAccess::AllAccess, key), HiveStatus::Ok);
        // Gone before its keys are closed, as in a crash.
    }
    SqliteHive reader(path);
    TIniCtrl ini(reader);
    EXPECT_EQ(ini.ReadText("common", "v", ""), "old");
    std::vector<SqliteHive::Entry> entries;
    ASSERT_EQ(reader.Dump(entries), HiveStatus::Ok);
    for (const auto& entry : entries) {
        EXPECT_EQ(entry.keyPath.find("half"), std::string::npos);
    }
}

// Damaged settings files, each as it is met by the first operation of a run.
TEST(SqliteHive, DamagedFileIsMovedAsideAndAFreshHiveUsed) {
    auto validDatabase = [](const std::string& path) {
        SqliteHive hive(path);
        TIniCtrl ini(hive);
        GameSettings values;
        values.level = 77;
        values.progress.SetBestMoves(5, 20);
        SaveGameSettings(ini, values);
    };
    struct Case {
        const char* what;
        std::function<void(const std::string& path)> damage;
        bool firstIsRead;
    };
    const Case cases[] = {
        {"a text file",
         [](const std::string& path) { test::WriteFileBytes(path, "[common]\nlevel=12\n"); }, true},
        {"garbage after a good header",
         [&](const std::string& path) {
             validDatabase(path);
             std::string bytes = test::ReadFileBytes(path);
             for (std::size_t at = 100; at < bytes.size(); ++at) {
                 bytes[at] = static_cast<char>(at * 7);
             }
             test::WriteFileBytes(path, bytes);
         },
         true},
        {"truncated",
         [&](const std::string& path) {
             validDatabase(path);
             fs::resize_file(path, 8192);
         },
         false},
        {"another program's database",
         [](const std::string& path) {
             sqlite3* db = nullptr;
             sqlite3_open(path.c_str(), &db);
             sqlite3_exec(db, "CREATE TABLE photos(id, name); INSERT INTO photos VALUES(1, 'x')",
                          nullptr, nullptr, nullptr);
             sqlite3_close(db);
         },
         false},
    };
    for (const Case& c : cases) {
        test::TempFolder folder;
        const std::string path = folder / "registry.sqlite3";
        c.damage(path);
        const std::string original = test::ReadFileBytes(path);

        SqliteHive hive(path);
        std::vector<std::pair<std::string, std::string>> reports;
        hive.SetDamagedFileHandler([&](const std::string& file, const std::string& movedTo) {
            reports.emplace_back(file, movedTo);
        });
        TIniCtrl ini(hive);
        GameSettings values;
        values.level = 5;
        // A hive that must leave foreign files alone refuses them, reading and writing, and
        // says which file and why; the file stays as it was.
        {
            SqliteHive inspecting(path);
            inspecting.SetMoveDamagedAside(false);
            TIniCtrl careful(inspecting);
            for (bool write : {false, true}) {
                try {
                    write ? careful.WriteNumber("common", "level", 3)
                          : static_cast<void>(careful.ReadNumber("common", "level", 1));
                    ADD_FAILURE() << c.what << ": no error";
                } catch (const EHiveFailure& error) {
                    const std::string said = test::EnglishMessage(error);
                    EXPECT_NE(said.find(path + ": "), std::string::npos) << said;
                }
            }
            std::vector<SqliteHive::Entry> entries;
            EXPECT_EQ(inspecting.Dump(entries), HiveStatus::Failed) << c.what;
            EXPECT_EQ(test::ReadFileBytes(path), original) << c.what;
            EXPECT_EQ(FilesIn(folder.Path()), std::vector<std::string>{"registry.sqlite3"});
            EXPECT_TRUE(reports.empty());
        }
        if (c.firstIsRead) {
            const SettingsLoadReport report = LoadGameSettings(ini, values);
            EXPECT_TRUE(report.errors.empty()) << c.what;
            EXPECT_EQ(values.level, 1) << c.what;
            EXPECT_EQ(values.progress.BestMoves(5), 0) << c.what;
            EXPECT_FALSE(fs::exists(path)) << c.what << ": a read made a fresh file";
        }
        values.level = 9;
        SaveGameSettings(ini, values);
        LoadGameSettings(ini, values);
        EXPECT_EQ(values.level, 9) << c.what;

        ASSERT_EQ(reports.size(), 1u) << c.what;
        EXPECT_EQ(reports[0].first, path);
        const std::string movedName = fs::path(reports[0].second).filename().string();
        EXPECT_TRUE(movedName.rfind("registry.sqlite3.damaged-", 0) == 0) << movedName;
        EXPECT_EQ(movedName.size(), std::string("registry.sqlite3.damaged-20261208-010203").size());
        EXPECT_EQ(test::ReadFileBytes(reports[0].second), original) << c.what;
        EXPECT_EQ(FilesIn(folder.Path()), (std::vector<std::string>{"registry.sqlite3", movedName}))
            << c.what;
    }
}

TEST(SqliteHive, SecondDamagedFileInTheSameSecondGetsItsOwnName) {
    test::TempFolder folder;
    const std::string path = folder / "registry.sqlite3";
    std::vector<std::string> moved;
    for (const char* junk : {"first junk", "second junk"}) {
        test::WriteFileBytes(path, junk);
        SqliteHive hive(path);
        hive.SetDamagedFileHandler(
            [&](const std::string&, const std::string& movedTo) { moved.push_back(movedTo); });
        TIniCtrl ini(hive);
        EXPECT_EQ(ini.ReadText("common", "x", "d"), "d");
    }
    ASSERT_EQ(moved.size(), 2u);
    EXPECT_NE(moved[0], moved[1]);
    EXPECT_EQ(test::ReadFileBytes(moved[0]), "first junk");
    EXPECT_EQ(test::ReadFileBytes(moved[1]), "second junk");
}

TEST(SqliteHive, EmptyFileIsAnEmptyHive) {
    test::TempFolder folder;
    const std::string path = folder / "registry.sqlite3";
    test::WriteFileBytes(path, "");
    SqliteHive hive(path);
    int reports = 0;
    hive.SetDamagedFileHandler([&](const std::string&, const std::string&) { ++reports; });
    TIniCtrl ini(hive);
    EXPECT_EQ(ini.ReadNumber("common", "level", 1), 1);
    ini.WriteNumber("common", "level", 2);
    EXPECT_EQ(ini.ReadNumber("common", "level", 1), 2);
    EXPECT_EQ(reports, 0);
}

// Another process holds the file locked: a read fails after one wait, loudly, and nothing
// stored is lost by the save that follows once the lock is gone.
TEST(SqliteHive, LockedFileCostsOneWaitAndLosesNothing) {
    test::TempFolder folder;
    const std::string path = folder / "registry.sqlite3";
    SqliteHive hive(path);
    TIniCtrl ini(hive);
    {
        GameSettings stored;
        stored.level = 77;
        stored.Language = 1;
        stored.progress.SetBestMoves(5, 20);
        SaveGameSettings(ini, stored);
    }
    sqlite3* holder = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &holder), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);

    constexpr int WaitMs = 1000;
    hive.SetBusyTimeout(WaitMs);
    GameSettings values;
    const auto started = std::chrono::steady_clock::now();
    const SettingsLoadReport report = LoadGameSettings(ini, values);
    const auto waited = std::chrono::steady_clock::now() - started;
    EXPECT_TRUE(report.storeFailed);
    EXPECT_EQ(report.unread,
              (std::set<std::string>{"tongue", "level", "back", "sound", "solution"}));
    ASSERT_EQ(report.errors.size(), 1u);
    const std::string said = test::EnglishMessage(report.errors[0]);
    EXPECT_NE(said.find(path + ": database is locked"), std::string::npos) << said;
    // One wait for the five values, not one or two for each (generous bound).
    EXPECT_LT(waited, std::chrono::milliseconds(4 * WaitMs));
    EXPECT_THROW(ini.DeleteValue("common", "level"), EHiveFailure);
    EXPECT_THROW(SaveGameSettings(ini, values, report.unread), EHiveFailure);

    sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(holder);
    values.background = 2;  // the player's one change in this run
    SaveGameSettings(ini, values, report.unread);
    GameSettings after;
    EXPECT_TRUE(LoadGameSettings(ini, after).errors.empty());
    EXPECT_EQ(after.level, 77);
    EXPECT_EQ(after.Language, 1);
    EXPECT_EQ(after.background, 2);
    EXPECT_EQ(after.progress.BestMoves(5), 20);
}

TEST(SqliteHive, UnusableFolderGivesDefaultsAndAWriteError) {
    test::TempFolder folder;
    // A file where the folder should be: nothing can be created there.
    test::WriteFileBytes(folder / "ZanfirGames", "not a folder");
    SqliteHive hive(folder / "ZanfirGames/Travoli/registry.sqlite3");
    TIniCtrl ini(hive);
    EXPECT_EQ(ini.ReadNumber("common", "level", 1), 1);
    EXPECT_THROW(ini.WriteNumber("common", "level", 3), ERegistryException);
    EXPECT_EQ(test::ReadFileBytes(folder / "ZanfirGames"), "not a folder");
}

}  // namespace
}  // namespace travoli
