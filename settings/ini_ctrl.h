#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "settings/registry_hive.h"

namespace travoli {

// What the settings store could not do. The windows look their words up by this order: a
// new kind goes at the end.
enum class StoreFailure {
    DataType,    // a value that is not text
    GetData,     // a value that could not be read
    SetData,     // a value that could not be written
    DeleteData,  // a value that could not be deleted
    CreateKey,   // a key that could not be created
    OpenKey,     // a key that could not be opened
    Commit,      // the changes of a unit of work that were not saved
};

// Raised by the settings store when the hive refuses an operation. It carries what failed and
// the key or value it names; the message a reader sees is rendered from these (the store's
// own words, in German as the program has always said them), so what() is only a tag.
class ERegistryException : public std::runtime_error {
  public:
    ERegistryException(StoreFailure failure, std::string name);
    StoreFailure Failure() const { return failure_; }
    const std::string& Name() const { return name_; }

  private:
    StoreFailure failure_;
    std::string name_;
};

// The hive itself failed (the file locked, unreadable, not a settings file): what is stored
// is unknown, which is never the same as absent. Cause() is the hive's kind and parts.
class EHiveFailure : public ERegistryException {
  public:
    EHiveFailure(StoreFailure failure, std::string name, HiveFailure cause);
    const HiveFailure& Cause() const { return cause_; }

  private:
    HiveFailure cause_;
};

// Reads a stored integer: optional blanks, an optional sign, then decimal digits within the
// 32-bit range or a hexadecimal number ("$", "x", "X", "0x", "0X") of at most eight significant
// digits taken as a 32-bit pattern. False for anything else.
bool ParseStoredInteger(const std::string& text, std::int32_t& value);

// The sectioned settings store over the current user's hive. Every value is kept as text of
// type REG_SZ in a key named after its section below the base key. Nothing is held between
// operations: each one opens its keys, does its one read, write or delete, and closes them.
// Texts are byte strings; a zero byte ends one.
class TIniCtrl {
  public:
    static constexpr const char* DefaultRegPath = "Software\\ZanfirGames\\Travoli\\V2";

    explicit TIniCtrl(RegistryHive& hive, const std::string& regPath = DefaultRegPath);

    bool ReadFlag(const std::string& section, const std::string& key, bool defaultValue);
    std::int32_t ReadNumber(const std::string& section, const std::string& key,
                            std::int32_t defaultValue);
    std::string ReadText(const std::string& section, const std::string& key,
                         const std::string& defaultValue);

    void WriteFlag(const std::string& section, const std::string& key, bool value);
    void WriteNumber(const std::string& section, const std::string& key, std::int32_t value);
    void WriteText(const std::string& section, const std::string& key, const std::string& value);

    // A missing section or value is no error; any other failure throws, as a write does.
    void DeleteValue(const std::string& section, const std::string& key);

    // Whether the value exists, whatever its type.
    bool ValueExists(const std::string& section, const std::string& key);

    // The base key below the hive's root, always ending in "\".

    // Holds the base key open, so that the operations until Commit are one unit of work of
    // the hive: one transaction, and one wait for a file that is busy. For writing, the write
    // lock is taken up front, so a value read in between stays as read until the writes land.
    // Throws EHiveFailure when the hive cannot be opened. Left without Commit (an exception),
    // the changes are dropped.
    class Transaction {
      public:
        enum Purpose { Reading, Writing };
        Transaction(TIniCtrl& ini, Purpose purpose);
        ~Transaction();
        Transaction(const Transaction&) = delete;
        Transaction& operator=(const Transaction&) = delete;

        // Ends the unit of work; throws EHiveFailure when its changes were not saved.
        void Commit();

      private:
        TIniCtrl& ini_;
        HKEY key_ = 0;
        bool open_ = false;
    };

  private:
    std::string ResolveSection(const std::string& section);
    // True and the text when the value exists; throws for a value that is not text.
    bool ReadStored(const std::string& section, const std::string& key, std::string* text);
    void WriteStored(const std::string& section, const std::string& key, const std::string& text);
    // The base key, with the most read access granted; the hive's root when it is missing or
    // refused (`opened` false: nothing to close). Throws EHiveFailure when the hive fails.
    HKEY OpenBaseForReading(bool& opened, KeyAccess& granted);
    // The base key for a change, created when missing; the hive's root when that is refused.
    HKEY OpenBaseForWriting(bool& opened);
    [[noreturn]] void Throw(HiveStatus status, StoreFailure failure, const std::string& name) const;

    RegistryHive& hive_;
    std::string baseKey_;
    std::string previous_;
};

}  // namespace travoli
