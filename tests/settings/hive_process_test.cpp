// Several processes on one hive file: killed writers and writers that run at the same time.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "settings/game_settings.h"
#include "settings/sqlite_hive.h"
#include "tests/support/temp_folder.h"

namespace travoli {
namespace {

// The best result that round n gives its level: 1 to 199, as the game records them.
int EntryOf(int round) {
    return round % 199 + 1;
}

// The level that round n solves.
int LevelOf(int round) {
    return round % LevelCount + 1;
}

// Round n of saving: the four values tell n, and the record has level LevelOf(n) solved.
GameSettings RoundValues(int round) {
    GameSettings values;
    values.level = round;
    values.background = round;
    values.sound = round % 2 == 1;
    values.Language = round;
    values.progress.SetBestMoves(LevelOf(round), static_cast<std::uint8_t>(EntryOf(round)));
    return values;
}

// What the hive must hold after the given rounds were saved: each level's best entry.
std::string ExpectedSolution(const std::vector<int>& rounds) {
    ProgressRecord best;
    for (int round : rounds) {
        const int level = LevelOf(round);
        if (best.BestMoves(level) == 0 || EntryOf(round) < best.BestMoves(level)) {
            best.SetBestMoves(level, static_cast<std::uint8_t>(EntryOf(round)));
        }
    }
    return SolutionString(best);
}

std::vector<int> RoundsUpTo(int last) {
    std::vector<int> rounds;
    for (int round = 0; round <= last; ++round) {
        rounds.push_back(round);
    }
    return rounds;
}

struct SavedRounds {
    int level, back, tongue;
    bool sound;
    std::string solution;
};

SavedRounds ReadRounds(TIniCtrl& ini) {
    SavedRounds rounds{};
    rounds.level = ini.ReadNumber("common", "level", -1);
    rounds.back = ini.ReadNumber("common", "back", -1);
    rounds.sound = ini.ReadFlag("common", "sound", false);
    rounds.tongue = ini.ReadNumber("common", "tongue", -1);
    rounds.solution = ini.ReadText("common", "solution", "");
    return rounds;
}

std::string IntegrityCheck(const std::string& path) {
    sqlite3* db = nullptr;
    std::string result = "cannot open";
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr);
        result = sqlite3_step(statement) == SQLITE_ROW
                     ? reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))
                     : sqlite3_errmsg(db);
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return result;
}

TEST(HiveProcesses, WriterKilledAtAnyMomentLeavesOldOrNewValues) {
    test::TempFolder folder;
    const std::string path = folder / "registry.sqlite3";
    int damagedReports = 0;
    auto onDamaged = [&](const std::string&, const std::string&) { ++damagedReports; };
    {
        SqliteHive hive(path);
        TIniCtrl ini(hive);
        SaveGameSettings(ini, RoundValues(0));
    }
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> delayUs(0, 25000);
    int newest = 0;
    for (int run = 0; run < 200; ++run) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            try {
                SqliteHive hive(path);
                TIniCtrl ini(hive);
                // The round that may have been cut short is written again first, so every
                // value stays within one round of the others.
                for (int round = newest;; ++round) {
                    SaveGameSettings(ini, RoundValues(round));
                }
            } catch (...) {
            }
            _exit(3);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself, status " << status;

        SqliteHive hive(path);
        hive.SetDamagedFileHandler(onDamaged);
        TIniCtrl ini(hive);
        const SavedRounds r = ReadRounds(ini);
        // One save is one transaction: every value is of the same round, and the record
        // holds the best of every round up to it.
        ASSERT_GE(r.level, newest) << "run " << run << ": a finished save was lost";
        ASSERT_EQ(r.back, r.level) << "run " << run;
        ASSERT_EQ(r.tongue, r.level) << "run " << run;
        ASSERT_EQ(r.sound, r.level % 2 == 1) << "run " << run;
        ASSERT_EQ(r.solution, ExpectedSolution(RoundsUpTo(r.level))) << "run " << run;
        newest = r.level;
    }
    EXPECT_EQ(damagedReports, 0);
    EXPECT_EQ(IntegrityCheck(path), "ok");
    EXPECT_GT(newest, 0) << "no save ever finished";
    RecordProperty("rounds", newest);
}

TEST(HiveProcesses, WritersAtTheSameTimeLoseNothing) {
    test::TempFolder folder;
    const std::string path = folder / "registry.sqlite3";
    {
        SqliteHive hive(path);
        TIniCtrl ini(hive);
        SaveGameSettings(ini, RoundValues(0));
    }
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    constexpr int Saves = 100;
    auto spawn = [&](int writer) {
        const pid_t child = fork();
        if (child != 0) {
            return child;
        }
        close(go[1]);
        char byte = 0;
        if (read(go[0], &byte, 1) != 1) {
            _exit(4);
        }
        try {
            SqliteHive hive(path);
            TIniCtrl ini(hive);
            if (writer < 2) {
                for (int i = 0; i < Saves; ++i) {
                    SaveGameSettings(ini, RoundValues(writer * 1000 + i));
                    ini.WriteNumber("common",
                                    "w" + std::to_string(writer) + "-" + std::to_string(i), i);
                }
            } else {
                // A reader beside them must never fall back to a default.
                for (int i = 0; i < Saves; ++i) {
                    if (ini.ReadNumber("common", "level", -1) < 0 ||
                        ini.ReadText("common", "solution", "").size() != 225) {
                        _exit(5);
                    }
                }
            }
        } catch (...) {
            _exit(3);
        }
        _exit(0);
    };
    const pid_t children[] = {spawn(0), spawn(1), spawn(2)};
    close(go[0]);
    ASSERT_EQ(write(go[1], "go!", 3), 3);
    close(go[1]);
    for (pid_t child : children) {
        ASSERT_GT(child, 0);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    }

    SqliteHive hive(path);
    TIniCtrl ini(hive);
    for (int writer = 0; writer < 2; ++writer) {
        for (int i = 0; i < Saves; ++i) {
            const std::string key = "w" + std::to_string(writer) + "-" + std::to_string(i);
            EXPECT_EQ(ini.ReadNumber("common", key, -1), i) << key;
        }
    }
    const SavedRounds r = ReadRounds(ini);
    EXPECT_TRUE(r.level == Saves - 1 || r.level == 1000 + Saves - 1) << r.level;
    // Neither writer lost a best result of the other.
    std::vector<int> rounds = {0};
    for (int i = 0; i < Saves; ++i) {
        rounds.push_back(i);
        rounds.push_back(1000 + i);
    }
    EXPECT_EQ(r.solution, ExpectedSolution(rounds));
    EXPECT_EQ(IntegrityCheck(path), "ok");
}

}  // namespace
}  // namespace travoli
