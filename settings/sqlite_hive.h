#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "settings/registry_hive.h"

struct sqlite3;

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
// and goes on with an empty hive.
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

    const std::string& Path() const { return path_; }
    void SetDamagedFileHandler(DamagedFileHandler handler) { onDamaged_ = std::move(handler); }
    // What went wrong in the last call that returned Failed.
    const std::string& LastError() const { return lastError_; }

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

    // Every key and value, keys in path order; a missing file is an empty hive.
    HiveStatus Dump(std::vector<Entry>& entries);

  private:
    enum class Mode { None, Read, Write };
    struct Handle {
        std::int64_t keyId;
        bool writable;
    };

    HiveStatus Begin(Mode mode);
    HiveStatus EndIfIdle();
    HiveStatus OpenDatabase(Mode mode, bool& damaged);
    void CloseDatabase();
    bool MoveAside(std::uint64_t device, std::uint64_t inode, bool& changed);
    HiveStatus Fail(const std::string& what);
    HiveStatus OpenOrCreate(HKEY parent, const std::string& subKey, KeyAccess access, bool create,
                            HKEY& result);
    bool Resolve(HKEY key, std::int64_t& keyId) const;
    bool FindChild(std::int64_t parent, const std::string& name, std::int64_t& id, bool& error);

    std::string path_;
    DamagedFileHandler onDamaged_;
    std::string lastError_;
    sqlite3* db_ = nullptr;
    Mode mode_ = Mode::None;
    bool hasSchema_ = false;
    std::map<HKEY, Handle> handles_;
    HKEY nextHandle_ = 1;
};

}  // namespace travoli
