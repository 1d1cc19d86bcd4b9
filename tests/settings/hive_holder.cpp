// A second program on a settings file, for the tests that run the tool and the game for real:
//   hive-holder foreign PATH                 make PATH another program's SQLite database
//   hive-holder lock PATH SECONDS            hold PATH locked; "locked" on stdout once held
//   hive-holder lock PATH SECONDS -- CMD...  hold it while CMD runs; exit with CMD's status
//   hive-holder crash PATH                   die in the middle of a save, leaving its journal
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

int Usage() {
    std::fprintf(
        stderr,
        "usage: hive-holder foreign PATH | lock PATH SECONDS [-- COMMAND ARGS...] | crash PATH\n");
    return 2;
}

int Foreign(const char* path) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open(path, &db) == SQLITE_OK
                       ? sqlite3_exec(db,
                                      "CREATE TABLE photos(id INTEGER PRIMARY KEY, name TEXT);"
                                      "INSERT INTO photos(name) VALUES('harbour.jpg')",
                                      nullptr, nullptr, nullptr)
                       : SQLITE_CANTOPEN;
    if (rc != SQLITE_OK) {
        std::fprintf(stderr, "hive-holder: %s: %s\n", path, sqlite3_errmsg(db));
    }
    sqlite3_close(db);
    return rc == SQLITE_OK ? 0 : 1;
}

int RunChild(char** command) {
    const pid_t child = fork();
    if (child == 0) {
        execvp(command[0], command);
        std::perror(command[0]);
        _exit(127);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child) {
        return 127;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

int Lock(const char* path, int seconds, char** command) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path, &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
        sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "hive-holder: %s: %s\n", path, sqlite3_errmsg(db));
        sqlite3_close(db);
        return 1;
    }
    int status = 0;
    if (command != nullptr) {
        status = RunChild(command);
    } else {
        std::printf("locked\n");
        std::fflush(stdout);
        sleep(static_cast<unsigned>(seconds));
    }
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return status;
}

// Every value overwritten, the pages forced into the file, then gone without a rollback.
int Crash(const char* path) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path, &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
        sqlite3_exec(db,
                     "PRAGMA cache_size = 1; BEGIN IMMEDIATE; UPDATE vals SET data = 'torn';"
                     "CREATE TABLE ballast(x); INSERT INTO ballast VALUES(zeroblob(100000))",
                     nullptr, nullptr, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "hive-holder: %s: %s\n", path, sqlite3_errmsg(db));
        return 1;
    }
    _exit(0);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string action = argc > 1 ? argv[1] : "";
    if (action == "foreign" && argc == 3) {
        return Foreign(argv[2]);
    }
    if (action == "lock" && argc >= 4) {
        char** command = nullptr;
        if (argc > 5 && std::string(argv[4]) == "--") {
            command = argv + 5;
        } else if (argc != 4) {
            return Usage();
        }
        return Lock(argv[2], std::atoi(argv[3]), command);
    }
    if (action == "crash" && argc == 3) {
        return Crash(argv[2]);
    }
    return Usage();
}
