#pragma once

#include <cstdint>
#include <string>

namespace travoli {

// A registry-like tree of keys and typed values, shaped after the per-user registry that the
// settings store was written for. Names compare without regard to ASCII letter case; values
// keep their bytes exactly.

using HKEY = std::uint32_t;

// The root of the hive; always open, never closed.
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;

enum RegValueType : std::uint32_t {
    REG_NONE = 0,
    REG_SZ = 1,
    REG_EXPAND_SZ = 2,
    REG_BINARY = 3,
    REG_DWORD = 4,
    REG_DWORD_BIG_ENDIAN = 5,
    REG_LINK = 6,
    REG_MULTI_SZ = 7,
    REG_QWORD = 11,
};

// "REG_SZ", ... or the number for a type we have no name for.
std::string RegValueTypeName(std::uint32_t type);

enum class KeyAccess {
    Read,          // query, enumerate and notify
    ReadNoNotify,  // query and enumerate
    QueryValue,    // query only
    AllAccess,     // read and write
};

enum class HiveStatus {
    Ok,
    NotFound,       // no such key or value
    AccessDenied,   // the access asked for is not granted
    InvalidHandle,  // a handle that is not open
    Failed,         // the backing store failed (I/O, locked, damaged beyond repair)
};

// Why the backing store failed, in terms a player can act on. The windows look their words
// up by this order: a new kind goes at the end.
enum class HiveProblem {
    Unknown,
    ReadOnlyFile,    // the file may not be written
    ReadOnlyFolder,  // its folder may not be written (or the folder cannot be made)
    ReadOnlyDisk,    // the file system is mounted read-only
    DiskFull,
    NotAFile,  // a directory, device, FIFO or socket in its place, or a link to nowhere
    Locked,    // another program holds it
    NotAHive,  // some other file that may not be touched
};

// What the backing store met when it failed, as its kind and its variable parts; the windows
// and the tool render it through the text table, which looks its words up by this order: a
// new kind goes at the end.
enum class HiveFault {
    Library,           // what the library or the system said, in `detail`
    LinkToNothing,     // a link to a file that is not there
    InPlaceDirectory,  // not a regular file in the place of the file: which kind
    InPlaceDevice,
    InPlaceFifo,
    InPlaceSocket,
    InPlaceOther,
    EmptyFile,        // an empty file, not a settings file
    NotOurs,          // some other file
    FailsCheck,       // a settings file that fails its integrity check
    KeepsDamaged,     // moved aside, and damaged again at every look
    CannotMoveAside,  // damaged, and the rename failed: `detail` the system's reason
    NoFreeName,       // damaged, and no free name to move it to
    NotSaved,         // the change was rolled back under us
    InUse,            // the hive has keys open
};

struct HiveFailure {
    HiveFault fault = HiveFault::Library;
    std::string path;  // the file or folder it concerns; empty when none is named
    std::string detail;
    bool leftAsItIs = false;                     // a file that is not ours, which was not touched
    HiveProblem problem = HiveProblem::Unknown;  // what the player could do about it
};

struct ValueInfo {
    std::uint32_t type = REG_NONE;
    std::size_t size = 0;
};

class RegistryHive {
  public:
    virtual ~RegistryHive() = default;

    // Opens the key at `subKey` (a "\"-separated path, empty parts ignored; empty means
    // `parent` itself) below `parent`. Never creates anything.
    virtual HiveStatus OpenKey(HKEY parent, const std::string& subKey, KeyAccess access,
                               HKEY& result) = 0;
    // Opens the key, creating it and every missing key on its path.
    virtual HiveStatus CreateKey(HKEY parent, const std::string& subKey, KeyAccess access,
                                 HKEY& result) = 0;
    // A value's existence, type and size.
    virtual HiveStatus QueryValueInfo(HKEY key, const std::string& name, ValueInfo& info) = 0;
    // A value's type and data.
    virtual HiveStatus QueryValueData(HKEY key, const std::string& name, std::uint32_t& type,
                                      std::string& data) = 0;
    // Sets a value, replacing one of the same name whatever its type.
    virtual HiveStatus SetValue(HKEY key, const std::string& name, std::uint32_t type,
                                const std::string& data) = 0;
    virtual HiveStatus DeleteValue(HKEY key, const std::string& name) = 0;
    // Closes a key. Closing the last open key ends the hive's unit of work; a failure to make
    // the changes of that unit durable is reported here.
    virtual HiveStatus CloseKey(HKEY key) = 0;
    // Drops the changes of the unit of work in progress; it still ends when its last key
    // closes.
    virtual void DiscardChanges() {}
    // What went wrong in the last call that returned Failed (the file and the cause, as its
    // kind and its parts); no detail when nothing is known.
    virtual HiveFailure LastFailure() const { return {}; }
    // The file behind the hive, or empty when it has none.
    virtual std::string FilePath() const { return {}; }
};

}  // namespace travoli
