#include "settings/ini_ctrl.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "settings/sqlite_hive.h"
#include "tests/support/english_message.h"
#include "tests/support/memory_hive.h"
#include "tests/support/temp_folder.h"

namespace travoli {
namespace {

constexpr const char* CommonKey = "Software\\ZanfirGames\\Travoli\\V2\\common";

class IniOnSqlite : public ::testing::Test {
  protected:
    test::TempFolder folder;
    std::string path = folder / "ZanfirGames/Travoli/registry.sqlite3";
    SqliteHive hive{path};
    TIniCtrl ini{hive};

    // The type and bytes of a value as they lie in the hive; false when it is absent.
    bool RawValue(const std::string& keyPath, const std::string& name, std::uint32_t& type,
                  std::string& data) {
        HKEY key = 0;
        if (hive.OpenKey(HKEY_CURRENT_USER, keyPath, KeyAccess::Read, key) != HiveStatus::Ok) {
            return false;
        }
        const bool found = hive.QueryValueData(key, name, type, data) == HiveStatus::Ok;
        hive.CloseKey(key);
        return found;
    }

    void PutRaw(const std::string& keyPath, const std::string& name, std::uint32_t type,
                const std::string& data) {
        HKEY key = 0;
        ASSERT_EQ(hive.CreateKey(HKEY_CURRENT_USER, keyPath, KeyAccess::AllAccess, key),
                  HiveStatus::Ok);
        ASSERT_EQ(hive.SetValue(key, name, type, data), HiveStatus::Ok);
        ASSERT_EQ(hive.CloseKey(key), HiveStatus::Ok);
    }
};

TEST_F(IniOnSqlite, FirstRunReadsDefaultsAndCreatesNothing) {
    EXPECT_EQ(ini.ReadNumber("common", "tongue", -1), -1);
    EXPECT_TRUE(ini.ReadFlag("common", "sound", true));
    EXPECT_FALSE(ini.ReadFlag("common", "sound", false));
    EXPECT_EQ(ini.ReadText("common", "solution", ""), "");
    EXPECT_EQ(ini.ReadText("#ROOT", "x", "fallback"), "fallback");
    EXPECT_FALSE(std::filesystem::exists(folder / "ZanfirGames"));
}

TEST_F(IniOnSqlite, WritesStoreTextOfTypeSz) {
    struct Case {
        const char* key;
        std::function<void()> write;
        std::string stored;
    };
    const Case cases[] = {
        {"level", [&] { ini.WriteNumber("common", "level", 12); }, "12"},
        {"tongue", [&] { ini.WriteNumber("common", "tongue", -1); }, "-1"},
        {"zero", [&] { ini.WriteNumber("common", "zero", 0); }, "0"},
        {"min", [&] { ini.WriteNumber("common", "min", INT32_MIN); }, "-2147483648"},
        {"on", [&] { ini.WriteFlag("common", "on", true); }, "1"},
        {"off", [&] { ini.WriteFlag("common", "off", false); }, "0"},
        {"text", [&] { ini.WriteText("common", "text", "a b\\c"); }, "a b\\c"},
        {"empty", [&] { ini.WriteText("common", "empty", ""); }, ""},
        {"cut", [&] { ini.WriteText("common", "cut", std::string("ab\0cd", 5)); }, "ab"},
    };
    for (const Case& c : cases) {
        c.write();
        std::uint32_t type = REG_NONE;
        std::string data;
        ASSERT_TRUE(RawValue(CommonKey, c.key, type, data)) << c.key;
        EXPECT_EQ(type, REG_SZ) << c.key;
        EXPECT_EQ(data, c.stored + '\0') << c.key;
    }
    EXPECT_EQ(ini.ReadNumber("common", "level", 0), 12);
    EXPECT_EQ(ini.ReadNumber("common", "min", 0), INT32_MIN);
    EXPECT_FALSE(ini.ReadFlag("common", "off", true));
    EXPECT_EQ(ini.ReadText("common", "empty", "default"), "");
}

TEST(ParseStoredInteger, AcceptsExactlyTheStoredForms) {
    struct Case {
        const char* text;
        bool parses;
        std::int32_t value;
    };
    const Case cases[] = {
        {"42", true, 42},
        {" 42", true, 42},
        {"   -7", true, -7},
        {"42 ", false, 0},
        {"\t42", false, 0},
        {"+42", true, 42},
        {"-0", true, 0},
        {"0042", true, 42},
        {"0x2A", true, 42},
        {"0X2a", true, 42},
        {"$2A", true, 42},
        {"x2A", true, 42},
        {"X2A", true, 42},
        {"-$2A", true, -42},
        {"+0x10", true, 16},
        {"$FFFFFFFF", true, -1},
        {"$80000000", true, INT32_MIN},
        {"-$FFFFFFFF", true, 1},
        {"$000000001", true, 1},
        {"$100000000", false, 0},
        {"2147483647", true, INT32_MAX},
        {"2147483648", false, 0},
        {"-2147483648", true, INT32_MIN},
        {"-2147483649", false, 0},
        {"99999999999999999999", false, 0},
        {"", false, 0},
        {" ", false, 0},
        {"+", false, 0},
        {"-", false, 0},
        {"$", false, 0},
        {"0x", false, 0},
        {"+-1", false, 0},
        {"- 1", false, 0},
        {"1e3", false, 0},
        {"$G", false, 0},
        {"0x2A ", false, 0},
        {"yes", false, 0},
        {"12a", false, 0},
    };
    for (const Case& c : cases) {
        std::int32_t value = 12345;
        EXPECT_EQ(ParseStoredInteger(c.text, value), c.parses) << '"' << c.text << '"';
        if (c.parses) {
            EXPECT_EQ(value, c.value) << '"' << c.text << '"';
        }
    }
}

TEST_F(IniOnSqlite, StoredTextsReadAsNumbersAndFlags) {
    struct Case {
        const char* stored;
        std::int32_t number;  // read with default 777
        bool flagFromTrue;    // read with default true
        bool flagFromFalse;   // read with default false
    };
    const Case cases[] = {
        {"0", 0, false, false},
        {"1", 1, true, true},
        {"2", 2, true, true},
        {"yes", 777, true, false},
        {" 42", 42, true, true},
        {"42 ", 777, true, false},
        {"0x2A", 42, true, true},
        {"$2A", 42, true, true},
        {"+42", 42, true, true},
        {"", 777, true, false},
        {"2147483648", 777, true, false},
        {"-2147483648", INT32_MIN, true, true},
        {"$FFFFFFFF", -1, true, true},
    };
    for (const Case& c : cases) {
        ini.WriteText("common", "v", c.stored);
        EXPECT_EQ(ini.ReadNumber("common", "v", 777), c.number) << c.stored;
        EXPECT_EQ(ini.ReadFlag("common", "v", true), c.flagFromTrue) << c.stored;
        EXPECT_EQ(ini.ReadFlag("common", "v", false), c.flagFromFalse) << c.stored;
    }
}

TEST_F(IniOnSqlite, NamesCompareWithoutLetterCase) {
    ini.WriteText("common", "level", "7");
    EXPECT_EQ(ini.ReadText("Common", "LEVEL", ""), "7");
    EXPECT_EQ(ini.ReadText("COMMON", "Level", ""), "7");
    ini.WriteText("COMMON", "LEVEL", "8");
    EXPECT_EQ(ini.ReadText("common", "level", ""), "8");

    // Only ASCII letters fold: bytes above 127 name different values.
    ini.WriteText("common", "\xC4rger", "upper");
    ini.WriteText("common", "\xE4rger", "lower");
    EXPECT_EQ(ini.ReadText("common", "\xC4RGER", ""), "upper");
    EXPECT_EQ(ini.ReadText("common", "\xE4rger", ""), "lower");

    std::vector<SqliteHive::Entry> entries;
    ASSERT_EQ(hive.Dump(entries), HiveStatus::Ok);
    int commonKeys = 0;
    for (const SqliteHive::Entry& entry : entries) {
        commonKeys += entry.isKey && entry.keyPath == CommonKey ? 1 : 0;
    }
    EXPECT_EQ(commonKeys, 1);
}

TEST_F(IniOnSqlite, EveryByteButZeroComesBackUnchanged) {
    std::string all;
    for (int code = 1; code <= 255; ++code) {
        all += static_cast<char>(code);
    }
    ini.WriteText("common", "bytes", all);
    EXPECT_EQ(ini.ReadText("common", "bytes", ""), all);

    for (std::size_t k : {0u, 1u, 9u}) {
        std::string text = "abcdefghij";
        text[k] = '\0';
        PutRaw(CommonKey, "cut", REG_SZ, text);
        EXPECT_EQ(ini.ReadText("common", "cut", "default"), text.substr(0, k)) << k;
    }
}

TEST_F(IniOnSqlite, ValuesOfOtherTypes) {
    PutRaw(CommonKey, "level", REG_DWORD, std::string("\x0c\0\0\0", 4));
    try {
        ini.ReadNumber("common", "level", 1);
        FAIL() << "a REG_DWORD value read as a number";
    } catch (const ERegistryException& error) {
        EXPECT_EQ(test::EnglishMessage(error), "Ungültiger Datentyp für 'level'");
    }
    EXPECT_THROW(ini.ReadText("common", "level", ""), ERegistryException);
    EXPECT_THROW(ini.ReadFlag("common", "level", true), ERegistryException);

    PutRaw(CommonKey, "multi", REG_MULTI_SZ, std::string("a\0b\0\0", 5));
    EXPECT_THROW(ini.ReadText("common", "multi", ""), ERegistryException);

    // Empty data is empty text whatever the type.
    PutRaw(CommonKey, "blob", REG_BINARY, "");
    EXPECT_EQ(ini.ReadNumber("common", "blob", 5), 5);
    EXPECT_EQ(ini.ReadText("common", "blob", "default"), "");

    // An expandable string is taken literally.
    PutRaw(CommonKey, "path", REG_EXPAND_SZ, std::string("%HOME%\0", 7));
    EXPECT_EQ(ini.ReadText("common", "path", ""), "%HOME%");

    // A write replaces a value of another type.
    ini.WriteNumber("common", "level", 3);
    EXPECT_EQ(ini.ReadNumber("common", "level", 1), 3);
}

TEST_F(IniOnSqlite, SectionResolution) {
    ini.WriteText("#ROOT", "inBase", "base");
    std::uint32_t type = REG_NONE;
    std::string data;
    EXPECT_TRUE(RawValue("Software\\ZanfirGames\\Travoli\\V2", "inBase", type, data));
    EXPECT_EQ(data, std::string("base\0", 5));

    // After "#ROOT" a blank section is "Common", not the base key.
    ini.WriteText("", "blank", "1");
    EXPECT_TRUE(RawValue("Software\\ZanfirGames\\Travoli\\V2\\Common", "blank", type, data));
    EXPECT_FALSE(RawValue("Software\\ZanfirGames\\Travoli\\V2", "blank", type, data));

    // A blank section takes the one used before it.
    ini.WriteText("Other", "x", "other");
    ini.WriteText("   ", "y", "other too");
    EXPECT_EQ(ini.ReadText("Other", "y", ""), "other too");
    // "#root" is a section name like any other: only the exact spelling means the base key.
    ini.WriteText("#root", "z", "lower");
    EXPECT_TRUE(RawValue("Software\\ZanfirGames\\Travoli\\V2\\#root", "z", type, data));
    EXPECT_EQ(ini.ReadText("#ROOT", "inBase", ""), "base");
}

TEST_F(IniOnSqlite, DeleteValue) {
    ini.DeleteValue("common", "nothing");  // no file, no key: no error
    ini.WriteText("common", "a", "1");
    ini.WriteText("common", "b", "2");
    ini.DeleteValue("COMMON", "A");
    ini.DeleteValue("common", "a");
    ini.DeleteValue("absent", "a");
    EXPECT_EQ(ini.ReadText("common", "a", "gone"), "gone");
    EXPECT_EQ(ini.ReadText("common", "b", ""), "2");
}

// The store against a hive that refuses things.
class IniOnMemory : public ::testing::Test {
  protected:
    test::MemoryHive hive;
    TIniCtrl ini{hive};
    const std::string base = "software\\zanfirgames\\travoli\\v2";
};

TEST_F(IniOnMemory, ReadAsksForLessAccessWhenRefused) {
    hive.Put(base + "\\common", "level", REG_SZ, std::string("9\0", 2));
    hive.deniedAccess = {KeyAccess::Read, KeyAccess::ReadNoNotify};
    EXPECT_EQ(ini.ReadNumber("common", "level", 1), 9);
    EXPECT_EQ(hive.OpenHandles(), 0);
    const std::vector<std::string> expected = {"open " + base, "open " + base, "open " + base,
                                               "open " + base + "\\common"};
    EXPECT_EQ(hive.calls, expected);
}

TEST_F(IniOnMemory, MissingBaseKeyFallsBackToTheRoot) {
    hive.Put("common", "level", REG_SZ, std::string("4\0", 2));
    EXPECT_EQ(ini.ReadNumber("common", "level", 1), 4);

    hive.refusedCreate = {base};
    ini.WriteText("Common", "x", "y");
    EXPECT_EQ(hive.keys["common"]["x"].data, std::string("y\0", 2));
    EXPECT_EQ(hive.OpenHandles(), 0);
}

TEST_F(IniOnMemory, ReadsCreateNothing) {
    ini.ReadText("common", "solution", "");
    ini.ReadFlag("", "sound", true);
    for (const std::string& call : hive.calls) {
        EXPECT_EQ(call.rfind("open ", 0), 0u) << call;
    }
    EXPECT_TRUE(hive.keys.empty());
}

TEST_F(IniOnMemory, ErrorsNameTheirValueAndCloseEverything) {
    struct Case {
        const char* what;
        std::function<void()> arrange;
        std::function<void()> act;
        std::string message;
    };
    const Case cases[] = {
        {"data unreadable", [&] { hive.failData = true; },
         [&] { ini.ReadText("common", "solution", ""); },
         "Fehler beim Holen der Daten für 'solution'"},
        {"section not created", [&] { hive.refusedCreate = {base + "\\common"}; },
         [&] { ini.WriteNumber("common", "level", 3); },
         "Erzeugung von Schlüssel common misslungen"},
        {"set refused", [&] { hive.failSet = true; },
         [&] { ini.WriteFlag("common", "sound", true); },
         "Fehler beim Setzen der Daten für 'sound'"},
        {"not made durable", [&] { hive.failClose = true; },
         [&] { ini.WriteText("common", "tongue", "1"); },
         "Fehler beim Setzen der Daten für 'tongue'"},
        {"delete not made durable", [&] { hive.failClose = true; },
         [&] { ini.DeleteValue("common", "solution"); },
         "Fehler beim Löschen der Daten für 'solution'"},
        // A hive that fails is no absent value, and its root is not tried in its place.
        {"hive fails on a read", [&] { hive.failure = "hive.db: disk I/O error"; },
         [&] { ini.ReadNumber("common", "level", 1); },
         "Fehler beim Öffnen von Schlüssel " + std::string(TIniCtrl::DefaultRegPath) +
             "\\ (hive.db: disk I/O error)"},
        {"hive fails on a write", [&] { hive.failure = "hive.db: database is locked"; },
         [&] { ini.WriteNumber("common", "level", 2); },
         "Erzeugung von Schlüssel " + std::string(TIniCtrl::DefaultRegPath) +
             "\\ misslungen (hive.db: database is locked)"},
        {"hive fails on a delete", [&] { hive.failure = "hive.db: database is locked"; },
         [&] { ini.DeleteValue("common", "level"); },
         "Erzeugung von Schlüssel " + std::string(TIniCtrl::DefaultRegPath) +
             "\\ misslungen (hive.db: database is locked)"},
    };
    for (const Case& c : cases) {
        hive.failData = hive.failSet = hive.failClose = false;
        hive.failure.clear();
        hive.calls.clear();
        hive.refusedCreate.clear();
        hive.Put(base + "\\common", "solution", REG_SZ, std::string("abc\0", 4));
        c.arrange();
        try {
            c.act();
            ADD_FAILURE() << c.what << ": no error";
        } catch (const ERegistryException& error) {
            EXPECT_EQ(test::EnglishMessage(error), c.message) << c.what;
        }
        EXPECT_EQ(hive.OpenHandles(), 0) << c.what;
        if (!hive.failure.empty()) {
            EXPECT_EQ(hive.calls.size(), 1u) << c.what << ": the root was tried after a failure";
        }
    }
}

}  // namespace
}  // namespace travoli
