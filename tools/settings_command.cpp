// travoli-tool settings: look at or change the saved settings.
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <string>

#include "settings/game_settings.h"
#include "settings/ini_ctrl.h"
#include "settings/sqlite_hive.h"
#include "tools/commands.h"

namespace travoli::tool {

namespace {

constexpr int ToolBusyTimeoutMs = 2000;

// Printable ASCII stays, everything else shows as \xHH; in a quoted text "\" and '"' are
// escaped too.
std::string Escaped(const std::string& bytes, bool quoted = false) {
    std::string out;
    for (unsigned char ch : bytes) {
        if (quoted && (ch == '\\' || ch == '"')) {
            out += '\\';
            out += static_cast<char>(ch);
        } else if (ch >= 32 && ch < 127) {
            out += static_cast<char>(ch);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", ch);
            out += hex;
        }
    }
    return out;
}

std::string ShownData(std::uint32_t type, const std::string& data) {
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        const bool terminated = !data.empty() && data.back() == '\0';
        return '"' + Escaped(terminated ? data.substr(0, data.size() - 1) : data, true) + '"';
    }
    if (type == REG_DWORD && data.size() == 4) {
        std::uint32_t value = 0;
        for (int i = 3; i >= 0; --i) {
            value = (value << 8) | static_cast<unsigned char>(data[i]);
        }
        return std::to_string(value);
    }
    std::string out = "hex:";
    for (std::size_t i = 0; i < data.size(); ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02x", static_cast<unsigned char>(data[i]));
        out += (i ? "," : "") + std::string(hex);
    }
    return out;
}

int Dump(SqliteHive& hive) {
    std::vector<SqliteHive::Entry> entries;
    if (hive.Dump(entries) != HiveStatus::Ok) {
        return Fail("settings dump: " + Said(hive.LastFailure()));
    }
    std::cout << "# " << hive.Path() << '\n';
    for (const SqliteHive::Entry& entry : entries) {
        if (entry.isKey) {
            std::cout << '[' << Escaped(entry.keyPath) << "]\n";
        } else {
            std::cout << (entry.valueName.empty() ? "@" : Escaped(entry.valueName)) << ' '
                      << RegValueTypeName(entry.type) << ' ' << ShownData(entry.type, entry.data)
                      << '\n';
        }
    }
    return 0;
}

}  // namespace

void PrepareToolHive(SqliteHive& hive) {
    // The tool looks at a file it may not own: it never moves one aside, and it does not keep
    // a shell waiting long for a file another program holds.
    hive.SetMoveDamagedAside(false);
    hive.SetBusyTimeout(ToolBusyTimeoutMs);
}

int RunSettings(const Args& args) {
    constexpr int FileOption = 256;
    constexpr int ForceOption = 257;
    ParsedArgs parsed;
    int status = 0;
    if (!ParseArgs("settings", args, {{"file", true, FileOption}, {"force", false, ForceOption}},
                   parsed, status)) {
        return status;
    }
    std::string file;
    bool force = false;
    for (const auto& [id, value] : parsed.options) {
        if (id == FileOption) {
            if (value.empty()) {
                return WrongCall("settings", "settings: --file needs a path");
            }
            file = value;
        } else {
            force = true;
        }
    }
    const Args& words = parsed.operands;
    if (words.empty()) {
        return WrongCall("settings", "settings: no action given");
    }
    const std::string& action = words[0];
    const std::size_t wanted = action == "dump"     ? 1
                               : action == "get"    ? 3
                               : action == "delete" ? 3
                               : action == "set"    ? 4
                                                    : 0;
    if (wanted == 0) {
        return WrongCall("settings", "settings: unknown action '" + action + "'");
    }
    if (words.size() != wanted) {
        return WrongCall("settings", "settings " + action + ": wrong number of arguments");
    }
    if (force && action != "set") {
        return WrongCall("settings", "settings " + action + ": --force goes with set only");
    }
    // The game's own values only as the game would have written them, unless forced; checked
    // before the file is touched.
    if (action == "set" && !force) {
        std::string problem;
        if (!IsGameSection(words[1])) {
            problem = "the game keeps no section '" + words[1] + "'";
        } else if (!IsGameValue(words[1], words[2])) {
            problem = "the game keeps no value '" + words[2] + "' in section '" + words[1] + "'";
        } else if (const std::string why = GameValueProblem(words[2], words[3]); !why.empty()) {
            problem = words[2] + ": " + why;
        }
        if (!problem.empty()) {
            return Fail("settings set: " + problem + " (--force writes it as given)");
        }
    }

    SqliteHive hive = file.empty() ? SqliteHive() : SqliteHive(file);
    PrepareToolHive(hive);
    if (action == "dump") {
        return Dump(hive);
    }
    TIniCtrl ini(hive);
    const std::string& section = words[1];
    const std::string& key = words[2];
    try {
        if (action == "get") {
            if (!ini.ValueExists(section, key)) {
                return Fail("settings get: no value '" + key + "' in section '" + section + "'");
            }
            std::cout << ini.ReadText(section, key, "") << '\n';
        } else if (action == "set") {
            ini.WriteText(section, key, words[3]);
        } else {
            ini.DeleteValue(section, key);
        }
    } catch (const EHiveFailure&) {
        // The message names the file already.
        return Fail("settings " + action + ": " + Said(std::current_exception()));
    } catch (const ERegistryException&) {
        return Fail("settings " + action + ": " + Said(std::current_exception()) + " (" +
                    hive.Path() + ")");
    }
    return 0;
}

}  // namespace travoli::tool
