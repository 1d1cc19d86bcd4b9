#include "settings/sqlite_hive.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <system_error>

#include <pwd.h>
#include <unistd.h>

namespace travoli {

namespace {

// Marks a database as ours; a database with tables but another id is some other file.
constexpr int ApplicationId = 0x54725631;
constexpr std::int64_t RootKeyId = 0;

constexpr const char* SchemaSql =
    "CREATE TABLE keys(id INTEGER PRIMARY KEY, parent INTEGER NOT NULL,"
    " name TEXT NOT NULL COLLATE NOCASE, UNIQUE(parent, name));"
    "CREATE TABLE vals(key INTEGER NOT NULL, name TEXT NOT NULL COLLATE NOCASE,"
    " type INTEGER NOT NULL, data BLOB NOT NULL, PRIMARY KEY(key, name)) WITHOUT ROWID;"
    "PRAGMA application_id = 1416779313;"
    "PRAGMA user_version = 1;";
static_assert(ApplicationId == 1416779313);

class Statement {
  public:
    Statement(sqlite3* db, const char* sql) : db_(db) {
        rc_ = sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr);
        prepared_ = rc_ == SQLITE_OK;
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool Prepared() const { return prepared_; }
    void Bind(int index, std::int64_t value) { sqlite3_bind_int64(stmt_, index, value); }
    void BindText(int index, const std::string& text) {
        sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT);
    }
    void BindBlob(int index, const std::string& bytes) {
        // A null pointer would bind NULL instead of an empty blob.
        static const char empty = 0;
        sqlite3_bind_blob(stmt_, index, bytes.empty() ? &empty : bytes.data(),
                          static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
    }
    int Step() {
        rc_ = Prepared() ? sqlite3_step(stmt_) : rc_;
        return rc_;
    }
    std::int64_t Int(int column) const { return sqlite3_column_int64(stmt_, column); }
    std::string Bytes(int column) const {
        const void* data = sqlite3_column_blob(stmt_, column);
        const int size = sqlite3_column_bytes(stmt_, column);
        return data ? std::string(static_cast<const char*>(data), static_cast<std::size_t>(size))
                    : std::string();
    }
    int Code() const { return rc_; }
    std::string Error() const { return sqlite3_errmsg(db_); }

  private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
    int rc_;
    bool prepared_;
};

bool IsDamage(int code) {
    const int primary = code & 0xff;
    return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT;
}

// Names end at a zero byte, as they would on the way through a C string.
std::string CutAtZero(const std::string& name) {
    return name.substr(0, name.find('\0'));
}

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (char ch : CutAtZero(path)) {
        if (ch == '\\') {
            if (!part.empty()) {
                parts.push_back(part);
            }
            part.clear();
        } else {
            part += ch;
        }
    }
    if (!part.empty()) {
        parts.push_back(part);
    }
    return parts;
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home) {
        return home;
    }
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) {
        return entry->pw_dir;
    }
    return ".";
}

}  // namespace

std::string RegValueTypeName(std::uint32_t type) {
    switch (type) {
        case REG_NONE:
            return "REG_NONE";
        case REG_SZ:
            return "REG_SZ";
        case REG_EXPAND_SZ:
            return "REG_EXPAND_SZ";
        case REG_BINARY:
            return "REG_BINARY";
        case REG_DWORD:
            return "REG_DWORD";
        case REG_DWORD_BIG_ENDIAN:
            return "REG_DWORD_BIG_ENDIAN";
        case REG_LINK:
            return "REG_LINK";
        case REG_MULTI_SZ:
            return "REG_MULTI_SZ";
        case REG_QWORD:
            return "REG_QWORD";
        default:
            return "type " + std::to_string(type);
    }
}

SqliteHive::SqliteHive() : SqliteHive(DefaultPath()) {}

SqliteHive::SqliteHive(std::string path) : path_(std::move(path)) {}

SqliteHive::~SqliteHive() {
    handles_.clear();
    Disconnect();
}

std::string SqliteHive::DefaultPath() {
    std::string base;
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') {
        base = config;
    } else {
        base = HomeFolder() + "/.config";
    }
    return base + "/ZanfirGames/Travoli/registry.sqlite3";
}

HiveStatus SqliteHive::Fail(HiveFault fault, const std::string& detail, int code) {
    lastFailure_ = {fault, path_, detail};
    lastFailure_.problem = Diagnose(code);
    return HiveStatus::Failed;
}

HiveProblem SqliteHive::Diagnose(int code) const {
    const int primary = code & 0xff;
    struct stat file {};
    const bool exists = ::lstat(path_.c_str(), &file) == 0;
    if (exists && (!S_ISREG(file.st_mode) && !S_ISLNK(file.st_mode))) {
        return HiveProblem::NotAFile;
    }
    if (exists && S_ISLNK(file.st_mode) &&
        (::stat(path_.c_str(), &file) != 0 || !S_ISREG(file.st_mode))) {
        return HiveProblem::NotAFile;
    }
    // The nearest folder on the path that is there: the file's own, or the one where it
    // would have to be made.
    std::filesystem::path folder = std::filesystem::path(path_).parent_path();
    struct stat folderStat {};
    while (!folder.empty() && ::stat(folder.c_str(), &folderStat) != 0) {
        folder = folder.parent_path();
    }
    if (!folder.empty() && !S_ISDIR(folderStat.st_mode)) {
        return HiveProblem::NotAFile;  // a file where a folder has to be
    }
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED) {
        return HiveProblem::Locked;
    }
    struct statvfs volume {};
    const bool volumeKnown = !folder.empty() && ::statvfs(folder.c_str(), &volume) == 0;
    if (volumeKnown && (volume.f_flag & ST_RDONLY) != 0) {
        return HiveProblem::ReadOnlyDisk;
    }
    if (primary == SQLITE_FULL || (volumeKnown && volume.f_bavail == 0)) {
        return HiveProblem::DiskFull;
    }
    if (exists && ::access(path_.c_str(), W_OK) != 0 && errno == EACCES) {
        return HiveProblem::ReadOnlyFile;
    }
    if (!folder.empty() && ::access(folder.c_str(), W_OK | X_OK) != 0 &&
        (errno == EACCES || errno == EROFS)) {
        return errno == EROFS ? HiveProblem::ReadOnlyDisk : HiveProblem::ReadOnlyFolder;
    }
    if (IsDamage(code)) {
        return HiveProblem::NotAHive;
    }
    return HiveProblem::Unknown;
}

bool SqliteHive::LookAtPath(Mode mode, bool& exists, struct stat& found) {
    struct stat link {};
    exists = false;
    if (::lstat(path_.c_str(), &link) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return true;
        }
        Fail(HiveFault::Library, std::strerror(errno));
        return false;
    }
    if (::stat(path_.c_str(), &found) != 0) {
        // A link to nowhere: reading finds nothing there, and nothing is made through it.
        if (mode == Mode::Read && errno == ENOENT) {
            return true;
        }
        Fail(HiveFault::LinkToNothing);
        lastFailure_.leftAsItIs = true;
        return false;
    }
    if (!S_ISREG(found.st_mode)) {
        // Never opened: a FIFO would keep the open waiting, a device would be read from.
        Fail(S_ISDIR(found.st_mode)                             ? HiveFault::InPlaceDirectory
             : S_ISCHR(found.st_mode) || S_ISBLK(found.st_mode) ? HiveFault::InPlaceDevice
             : S_ISFIFO(found.st_mode)                          ? HiveFault::InPlaceFifo
             : S_ISSOCK(found.st_mode)                          ? HiveFault::InPlaceSocket
                                                                : HiveFault::InPlaceOther);
        lastFailure_.leftAsItIs = true;
        return false;
    }
    exists = true;
    return true;
}

bool SqliteHive::RollBackHotJournal() {
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path_.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(db, busyTimeoutMs_);
        // The first read takes the shared lock, and with it SQLite rolls the journal back.
        rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    }
    sqlite3_close_v2(db);
    return rc == SQLITE_OK;
}

void SqliteHive::CloseDatabase() {
    if (db_ == nullptr) {
        return;
    }
    sqlite3_close_v2(db_);
    db_ = nullptr;
    mode_ = Mode::None;
    hasSchema_ = false;
}

HiveStatus SqliteHive::Begin(Mode mode) {
    if (db_) {
        // A unit of work that began as a read cannot turn into a write.
        return mode == Mode::Write && mode_ == Mode::Read ? HiveStatus::AccessDenied
                                                          : HiveStatus::Ok;
    }
    // A damaged file is moved aside and the path looked at again. Another copy of the program
    // may be doing the same at that moment, so one more look is allowed before giving up.
    for (int look = 0; look < 3; ++look) {
        switch (OpenDatabase(mode)) {
            case Look::Ready:
                return HiveStatus::Ok;
            case Look::Missing:
                return HiveStatus::NotFound;
            case Look::Failed:
                return HiveStatus::Failed;
            case Look::Damaged:
            case Look::Again:
                break;
        }
    }
    return Fail(HiveFault::KeepsDamaged);
}

SqliteHive::Look SqliteHive::OpenDatabase(Mode mode) {
    struct stat before {};
    bool exists = false;
    if (!LookAtPath(mode, exists, before)) {
        return Look::Failed;
    }
    if (!exists && mode == Mode::Read) {
        return Look::Missing;
    }
    if (!exists && !CreateFolder()) {
        return Look::Failed;
    }
    Contents contents = Contents::Unknown;
    int rc = Connect(mode, exists);
    if (rc == SQLITE_OK) {
        rc = StartTransaction(mode);
    }
    if (rc == SQLITE_OK) {
        rc = ReadContents(contents);
    }
    // A hive that must stay as it is never turns a file that was there into a hive.
    const bool adopt = !exists || moveDamagedAside_;
    if (rc == SQLITE_OK && contents == Contents::Empty && mode == Mode::Write && adopt) {
        rc = CreateSchema();
    }
    const bool foreign = contents == Contents::Foreign || contents == Contents::Broken ||
                         (contents == Contents::Empty && mode == Mode::Write && !adopt);
    if (rc == SQLITE_OK && !foreign) {
        return Look::Ready;
    }
    if (rc == SQLITE_READONLY_ROLLBACK) {
        // Left by a crash in the middle of a save: rolled back as SQLite would, then read.
        Disconnect();
        if (RollBackHotJournal()) {
            return Look::Again;
        }
    }

    const HiveFault problem = contents == Contents::Empty     ? HiveFault::EmptyFile
                              : contents == Contents::Foreign ? HiveFault::NotOurs
                              : contents == Contents::Broken  ? HiveFault::FailsCheck
                                                              : HiveFault::Library;
    const std::string said = problem == HiveFault::Library ? DatabaseError(rc) : std::string();
    Disconnect();
    if (!exists || !(foreign || IsDamage(rc))) {
        Fail(problem, said, rc);
        return Look::Failed;
    }
    if (!moveDamagedAside_) {
        Fail(problem, said, foreign ? SQLITE_NOTADB : rc);
        lastFailure_.leftAsItIs = true;
        return Look::Failed;
    }
    return MoveAside(before.st_dev, before.st_ino) ? Look::Damaged : Look::Failed;
}

bool SqliteHive::CreateFolder() {
    const std::filesystem::path folder = std::filesystem::path(path_).parent_path();
    if (folder.empty()) {
        return true;
    }
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        Fail(HiveFault::Library, error.message());
        lastFailure_.path = folder.string();  // the folder it could not make
        return false;
    }
    return true;
}

int SqliteHive::Connect(Mode mode, bool exists) {
    // A hive that must stay as it is is only ever read through a read-only connection.
    const bool readOnly = mode == Mode::Read && !moveDamagedAside_;
    int flags =
        readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | (exists ? 0 : SQLITE_OPEN_CREATE);
    int rc = sqlite3_open_v2(path_.c_str(), &db_, flags, nullptr);
    if (rc != SQLITE_OK && mode == Mode::Read && !readOnly) {
        // A file we may only read still gives its values.
        sqlite3_close_v2(db_);
        flags = SQLITE_OPEN_READONLY;
        rc = sqlite3_open_v2(path_.c_str(), &db_, flags, nullptr);
    }
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(db_, busyTimeoutMs_);
        sqlite3_extended_result_codes(db_, 1);
        mode_ = mode;
    }
    return rc;
}

int SqliteHive::StartTransaction(Mode mode) {
    // A writer takes the write lock before it reads, so that two writers queue up instead of
    // one of them failing on a lock upgrade.
    return sqlite3_exec(db_, mode == Mode::Write ? "BEGIN IMMEDIATE" : "BEGIN", nullptr, nullptr,
                        nullptr);
}

int SqliteHive::ReadContents(Contents& contents) {
    Statement id(db_, "PRAGMA application_id");
    int rc = id.Step();
    if (rc != SQLITE_ROW) {
        return rc;
    }
    if (id.Int(0) == ApplicationId) {
        Statement check(db_, "PRAGMA quick_check");
        rc = check.Step();
        if (rc != SQLITE_ROW) {
            return rc;
        }
        contents = check.Bytes(0) == "ok" ? Contents::Ours : Contents::Broken;
        hasSchema_ = contents == Contents::Ours;
        return SQLITE_OK;
    }
    Statement count(db_, "SELECT count(*) FROM sqlite_master");
    rc = count.Step();
    if (rc != SQLITE_ROW) {
        return rc;
    }
    // A database without our id is ours to fill only while it is empty.
    contents = id.Int(0) == 0 && count.Int(0) == 0 ? Contents::Empty : Contents::Foreign;
    return SQLITE_OK;
}

int SqliteHive::CreateSchema() {
    const int rc = sqlite3_exec(db_, SchemaSql, nullptr, nullptr, nullptr);
    hasSchema_ = rc == SQLITE_OK;
    return rc;
}

std::string SqliteHive::DatabaseError(int code) const {
    return db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(code);
}

void SqliteHive::Disconnect() {
    if (db_ && sqlite3_get_autocommit(db_) == 0) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    CloseDatabase();
}

bool SqliteHive::MoveAside(std::uint64_t device, std::uint64_t inode) {
    // Another copy of the program may have moved the file already and started afresh; that
    // new file is not ours to move.
    struct stat now {};
    if (::stat(path_.c_str(), &now) != 0 || now.st_dev != device || now.st_ino != inode) {
        return true;
    }
    char stamp[32];
    const std::time_t seconds = std::time(nullptr);
    std::tm local{};
    localtime_r(&seconds, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string base = path_ + ".damaged-" + stamp;
    for (int attempt = 1; attempt < 100; ++attempt) {
        const std::string target = attempt == 1 ? base : base + "-" + std::to_string(attempt);
        int rc = ::renameat2(AT_FDCWD, path_.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE);
        if (rc != 0 && (errno == EINVAL || errno == ENOSYS)) {
            // A file system without no-replace renames: look first, then rename.
            struct stat taken {};
            if (::stat(target.c_str(), &taken) == 0) {
                errno = EEXIST;
            } else {
                rc = std::rename(path_.c_str(), target.c_str());
            }
        }
        if (rc == 0) {
            // A journal left beside the damaged file belongs to it, not to the fresh one.
            const std::string journal = path_ + "-journal";
            struct stat js {};
            if (::stat(journal.c_str(), &js) == 0) {
                std::rename(journal.c_str(), (target + "-journal").c_str());
            }
            if (onDamaged_) {
                onDamaged_(path_, target);
            }
            return true;
        }
        if (errno == ENOENT) {
            return true;  // moved by another copy meanwhile
        }
        if (errno != EEXIST) {
            Fail(HiveFault::CannotMoveAside, std::strerror(errno));
            return false;
        }
    }
    Fail(HiveFault::NoFreeName);
    return false;
}

HiveStatus SqliteHive::EndIfIdle() {
    if (!db_ || !handles_.empty()) {
        return HiveStatus::Ok;
    }
    HiveStatus status = HiveStatus::Ok;
    if (sqlite3_get_autocommit(db_) == 0) {
        if (sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
            status = Fail(HiveFault::Library, sqlite3_errmsg(db_), sqlite3_extended_errcode(db_));
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        }
    } else if (mode_ == Mode::Write) {
        // The transaction was rolled back under us by a failed statement.
        status = Fail(HiveFault::NotSaved);
    }
    CloseDatabase();
    return status;
}

bool SqliteHive::Resolve(HKEY key, std::int64_t& keyId) const {
    if (key == HKEY_CURRENT_USER) {
        keyId = RootKeyId;
        return true;
    }
    const auto found = handles_.find(key);
    if (found == handles_.end()) {
        return false;
    }
    keyId = found->second.keyId;
    return true;
}

bool SqliteHive::FindChild(std::int64_t parent, const std::string& name, std::int64_t& id,
                           bool& error) {
    Statement find(db_, "SELECT id FROM keys WHERE parent = ?1 AND name = ?2");
    find.Bind(1, parent);
    find.BindText(2, name);
    const int rc = find.Step();
    error = rc != SQLITE_ROW && rc != SQLITE_DONE;
    if (error) {
        Fail(HiveFault::Library, find.Error(), find.Code());
    }
    if (rc == SQLITE_ROW) {
        id = find.Int(0);
        return true;
    }
    return false;
}

HiveStatus SqliteHive::OpenOrCreate(HKEY parent, const std::string& subKey, KeyAccess access,
                                    bool create, HKEY& result) {
    const bool writable = access == KeyAccess::AllAccess;
    std::int64_t id = 0;
    if (parent != HKEY_CURRENT_USER && !Resolve(parent, id)) {
        return HiveStatus::InvalidHandle;
    }
    HiveStatus status = Begin(create || writable ? Mode::Write : Mode::Read);
    if (status == HiveStatus::Ok && parent != HKEY_CURRENT_USER &&
        handles_.at(parent).writable == false && create) {
        status = HiveStatus::AccessDenied;
    }
    if (status == HiveStatus::Ok) {
        Resolve(parent, id);
        for (const std::string& part : SplitPath(subKey)) {
            bool error = false;
            if (!hasSchema_) {
                status = HiveStatus::NotFound;
                break;
            }
            if (FindChild(id, part, id, error)) {
                continue;
            }
            if (error) {
                status = HiveStatus::Failed;
                break;
            }
            if (!create) {
                status = HiveStatus::NotFound;
                break;
            }
            Statement insert(db_, "INSERT INTO keys(parent, name) VALUES(?1, ?2)");
            insert.Bind(1, id);
            insert.BindText(2, part);
            if (insert.Step() != SQLITE_DONE) {
                status = Fail(HiveFault::Library, insert.Error(), insert.Code());
                break;
            }
            id = sqlite3_last_insert_rowid(db_);
        }
    }
    if (status == HiveStatus::Ok) {
        result = nextHandle_++;
        if (nextHandle_ >= HKEY_CURRENT_USER) {
            nextHandle_ = 1;
        }
        handles_[result] = Handle{id, writable};
        return status;
    }
    if (handles_.empty()) {
        Disconnect();
    }
    return status;
}

HiveStatus SqliteHive::OpenKey(HKEY parent, const std::string& subKey, KeyAccess access,
                               HKEY& result) {
    return OpenOrCreate(parent, subKey, access, false, result);
}

HiveStatus SqliteHive::CreateKey(HKEY parent, const std::string& subKey, KeyAccess access,
                                 HKEY& result) {
    return OpenOrCreate(parent, subKey, access, true, result);
}

HiveStatus SqliteHive::QueryValueInfo(HKEY key, const std::string& name, ValueInfo& info) {
    std::uint32_t type = REG_NONE;
    std::string data;
    const HiveStatus status = QueryValueData(key, name, type, data);
    if (status == HiveStatus::Ok) {
        info.type = type;
        info.size = data.size();
    }
    return status;
}

HiveStatus SqliteHive::QueryValueData(HKEY key, const std::string& name, std::uint32_t& type,
                                      std::string& data) {
    std::int64_t id = 0;
    if (key == HKEY_CURRENT_USER || !Resolve(key, id)) {
        return HiveStatus::InvalidHandle;
    }
    if (!hasSchema_) {
        return HiveStatus::NotFound;
    }
    Statement query(db_, "SELECT type, data FROM vals WHERE key = ?1 AND name = ?2");
    query.Bind(1, id);
    query.BindText(2, CutAtZero(name));
    const int rc = query.Step();
    if (rc == SQLITE_DONE) {
        return HiveStatus::NotFound;
    }
    if (rc != SQLITE_ROW) {
        return Fail(HiveFault::Library, query.Error());
    }
    type = static_cast<std::uint32_t>(query.Int(0));
    data = query.Bytes(1);
    return HiveStatus::Ok;
}

HiveStatus SqliteHive::SetValue(HKEY key, const std::string& name, std::uint32_t type,
                                const std::string& data) {
    std::int64_t id = 0;
    if (key == HKEY_CURRENT_USER || !Resolve(key, id)) {
        return HiveStatus::InvalidHandle;
    }
    if (!handles_.at(key).writable || mode_ != Mode::Write) {
        return HiveStatus::AccessDenied;
    }
    Statement set(db_,
                  "INSERT INTO vals(key, name, type, data) VALUES(?1, ?2, ?3, ?4)"
                  " ON CONFLICT(key, name) DO UPDATE SET type = excluded.type,"
                  " data = excluded.data");
    set.Bind(1, id);
    set.BindText(2, CutAtZero(name));
    set.Bind(3, type);
    set.BindBlob(4, data);
    if (set.Step() != SQLITE_DONE) {
        return Fail(HiveFault::Library, set.Error(), set.Code());
    }
    return HiveStatus::Ok;
}

HiveStatus SqliteHive::DeleteValue(HKEY key, const std::string& name) {
    std::int64_t id = 0;
    if (key == HKEY_CURRENT_USER || !Resolve(key, id)) {
        return HiveStatus::InvalidHandle;
    }
    if (!handles_.at(key).writable || mode_ != Mode::Write) {
        return HiveStatus::AccessDenied;
    }
    Statement erase(db_, "DELETE FROM vals WHERE key = ?1 AND name = ?2");
    erase.Bind(1, id);
    erase.BindText(2, CutAtZero(name));
    if (erase.Step() != SQLITE_DONE) {
        return Fail(HiveFault::Library, erase.Error(), erase.Code());
    }
    return sqlite3_changes(db_) == 0 ? HiveStatus::NotFound : HiveStatus::Ok;
}

HiveStatus SqliteHive::CloseKey(HKEY key) {
    if (key == HKEY_CURRENT_USER) {
        return HiveStatus::Ok;
    }
    if (handles_.erase(key) == 0) {
        return HiveStatus::InvalidHandle;
    }
    return EndIfIdle();
}

void SqliteHive::DiscardChanges() {
    if (db_ && sqlite3_get_autocommit(db_) == 0) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

HiveStatus SqliteHive::Dump(std::vector<Entry>& entries) {
    entries.clear();
    if (!handles_.empty()) {
        Fail(HiveFault::InUse);
        lastFailure_.path.clear();
        return HiveStatus::Failed;
    }
    HiveStatus status = Begin(Mode::Read);
    if (status == HiveStatus::NotFound) {
        return HiveStatus::Ok;
    }
    if (status != HiveStatus::Ok) {
        return status;
    }
    if (hasSchema_) {
        std::map<std::int64_t, std::pair<std::int64_t, std::string>> keys;
        Statement list(db_, "SELECT id, parent, name FROM keys");
        while (list.Step() == SQLITE_ROW) {
            keys[list.Int(0)] = {list.Int(1), list.Bytes(2)};
        }
        if (list.Code() != SQLITE_DONE) {
            return DumpFailed(list.Error());
        }
        auto pathOf = [&keys](std::int64_t id) {
            std::string path;
            for (int depth = 0; id != RootKeyId && depth < 1000; ++depth) {
                const auto found = keys.find(id);
                if (found == keys.end()) {
                    break;
                }
                path = path.empty() ? found->second.second : found->second.second + "\\" + path;
                id = found->second.first;
            }
            return path;
        };
        std::map<std::string, std::int64_t> ordered;
        for (const auto& [id, key] : keys) {
            ordered[pathOf(id)] = id;
        }
        std::map<std::int64_t, std::vector<Entry>> values;
        Statement vals(db_, "SELECT key, name, type, data FROM vals ORDER BY key, name");
        while (vals.Step() == SQLITE_ROW) {
            Entry entry;
            entry.valueName = vals.Bytes(1);
            entry.type = static_cast<std::uint32_t>(vals.Int(2));
            entry.data = vals.Bytes(3);
            values[vals.Int(0)].push_back(entry);
        }
        if (vals.Code() != SQLITE_DONE) {
            return DumpFailed(vals.Error());
        }
        auto emit = [&](std::int64_t id, const std::string& path) {
            Entry key;
            key.keyPath = path;
            key.isKey = true;
            entries.push_back(key);
            for (Entry entry : values[id]) {
                entry.keyPath = path;
                entries.push_back(entry);
            }
        };
        if (!values[RootKeyId].empty()) {
            emit(RootKeyId, "");
        }
        for (const auto& [path, id] : ordered) {
            emit(id, path);
        }
    }
    Disconnect();
    return HiveStatus::Ok;
}

HiveStatus SqliteHive::DumpFailed(const std::string& said) {
    Disconnect();
    return Fail(HiveFault::Library, said);
}

}  // namespace travoli
