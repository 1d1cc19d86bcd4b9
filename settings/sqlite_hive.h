#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "settings/registry_hive.h"

struct sqlite3;
struct stat;

namespace travoli {

// The current user's hive, kept in one SQLite database file.
//
// A unit of work starts when the first key is opened and ends when the last one is closed: the
// database is opened, one transaction runs, and the database is closed again, so a second
// running copy sees every save whole or not at all. Opening for reading never creates the file
// or its folders. The file uses a rollback journal: the hive stays one self-contained file
// between units of work, readers need nothing but the file itself, and our transactions are a
// few rows long, so the writer lock is held for milliseconds; writers take it up front and
// every connection waits for a busy one instead of failing.
//
// A file that is not our database (damaged, truncated, some other file) is never written over:
// the unit of work that meets it moves it aside, tells the damaged-file handler where it went,
// and goes on with an empty hive. A hive told to leave such files alone fails instead, and
// reads only through a read-only connection.
class SqliteHive : public RegistryHive {
  public:
    // Receives the settings file's path and the name it was moved to.
    using DamagedFileHandler =
        std::function<void(const std::string& path, const std::string& movedTo)>;

    struct Entry {
        std::string keyPath;    // "\"-separated, from the root
        bool isKey = false;     // a key without values still shows up once
        std::string valueName;  // empty name: the key's default value
        std::uint32_t type = REG_NONE;
        std::string data;
    };

    // $XDG_CONFIG_HOME/ZanfirGames/Travoli/registry.sqlite3, with ~/.config for a missing or
    // relative $XDG_CONFIG_HOME.
    SqliteHive();
    explicit SqliteHive(std::string path);
    ~SqliteHive() override;
    SqliteHive(const SqliteHive&) = delete;
    SqliteHive& operator=(const SqliteHive&) = delete;

    static std::string DefaultPath();

    // How long a unit of work waits for a file that another connection holds locked.
    static constexpr int DefaultBusyTimeoutMs = 10000;

    const std::string& Path() const { return path_; }
    void SetDamagedFileHandler(DamagedFileHandler handler) { onDamaged_ = std::move(handler); }
    // Off: a file that is not a settings hive is reported as a failure and left untouched.
    void SetMoveDamagedAside(bool on) { moveDamagedAside_ = on; }
    // Takes effect from the next unit of work.
    void SetBusyTimeout(int milliseconds) { busyTimeoutMs_ = milliseconds; }
    // What went wrong in the last call that returned Failed: the file and the cause.
    HiveFailure LastFailure() const override { return lastFailure_; }
    std::string FilePath() const override { return path_; }

    HiveStatus OpenKey(HKEY parent, const std::string& subKey, KeyAccess access,
                       HKEY& result) override;
    HiveStatus CreateKey(HKEY parent, const std::string& subKey, KeyAccess access,
                         HKEY& result) override;
    HiveStatus QueryValueInfo(HKEY key, const std::string& name, ValueInfo& info) override;
    HiveStatus QueryValueData(HKEY key, const std::string& name, std::uint32_t& type,
                              std::string& data) override;
    HiveStatus SetValue(HKEY key, const std::string& name, std::uint32_t type,
                        const std::string& data) override;
    HiveStatus DeleteValue(HKEY key, const std::string& name) override;
    HiveStatus CloseKey(HKEY key) override;
    void DiscardChanges() override;

    // Every key and value, keys in path order; a missing file is an empty hive.
    HiveStatus Dump(std::vector<Entry>& entries);

  private:
    enum class Mode { None, Read, Write };
    // One look at the file: ready for the unit of work, not there (a read), failed, or found
    // damaged and moved aside.
    // Again: something was mended (a journal rolled back); look once more.
    enum class Look { Ready, Missing, Failed, Damaged, Again };
    enum class Contents { Unknown, Ours, Empty, Foreign, Broken };
    struct Handle {
        std::int64_t keyId;
        bool writable;
    };

    HiveStatus Begin(Mode mode);
    HiveStatus EndIfIdle();
    Look OpenDatabase(Mode mode);
    bool CreateFolder();
    int Connect(Mode mode, bool exists);
    int StartTransaction(Mode mode);
    int ReadContents(Contents& contents);
    int CreateSchema();
    std::string DatabaseError(int code) const;
    // Rolls back what is open and closes the connection.
    void Disconnect();
    void CloseDatabase();
    // True when the path is free for a fresh look: the file moved aside, or already gone.
    bool MoveAside(std::uint64_t device, std::uint64_t inode);
    // Notes the failure and, from `code` and a look at the file system, its cause.
    HiveStatus Fail(HiveFault fault, const std::string& detail = {}, int code = 0);
    HiveProblem Diagnose(int code) const;
    // What lies at the path: false (and failed) for anything no hive can be.
    bool LookAtPath(Mode mode, bool& exists, struct stat& found);
    // Lets SQLite roll back a journal left by a crash, which a read-only connection cannot.
    bool RollBackHotJournal();
    HiveStatus DumpFailed(const std::string& said);
    HiveStatus OpenOrCreate(HKEY parent, const std::string& subKey, KeyAccess access, bool create,
                            HKEY& result);
    bool Resolve(HKEY key, std::int64_t& keyId) const;
    bool FindChild(std::int64_t parent, const std::string& name, std::int64_t& id, bool& error);

    std::string path_;
    DamagedFileHandler onDamaged_;
    bool moveDamagedAside_ = true;
    int busyTimeoutMs_ = DefaultBusyTimeoutMs;
    HiveFailure lastFailure_;
    sqlite3* db_ = nullptr;
    Mode mode_ = Mode::None;
    bool hasSchema_ = false;
    std::map<HKEY, Handle> handles_;
    HKEY nextHandle_ = 1;
};

}  // namespace travoli
