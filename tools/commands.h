#pragma once

#include <exception>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace travoli {
class SqliteHive;
struct HiveFailure;
}  // namespace travoli

namespace travoli::tool {

using Args = std::vector<std::string>;

// Exit status for a wrong call or bad input.
constexpr int UsageError = 2;

// Bad input: prints "travoli-tool: <message>" on stderr and returns UsageError.
int Fail(const std::string& message);

// An error of the layers below, or what the settings hive met, as the game says it in
// English.
std::string Said(const std::exception_ptr& error);
std::string Said(const HiveFailure& failure);

// A wrong call of `command`: the reason, then the command's usage, on stderr; returns
// UsageError.
int WrongCall(const std::string& command, const std::string& message);

// One option of a command as getopt_long takes it; `id` is the short letter where there is one.
struct ToolOption {
    const char* name;
    bool takesValue;
    int id;
};

// A command's arguments as getopt_long split them: the options in the order given, and the
// operands.
struct ParsedArgs {
    std::vector<std::pair<int, std::string>> options;
    Args operands;
};

// Parses the arguments of `command`. Options and operands may come in any order, "--" ends the
// options, and --help (-h) is known to every command. False when the command must end at once
// with `status`: 0 after its help was printed, UsageError after a wrong call was reported.
bool ParseArgs(const std::string& command, const Args& args,
               std::initializer_list<ToolOption> accepted, ParsedArgs& parsed, int& status);

// Parses a level number 1-225; false for anything else.
bool ParseLevel(const std::string& text, int& level);

// A settings file opened as the tool must: never moved aside when damaged, and a locked one
// waited for at most 2 s.
void PrepareToolHive(SqliteHive& hive);

int RunLevels(const Args& args);
int RunSolve(const Args& args);
int RunRecords(const Args& args);
int RunChunk(const Args& args);
int RunSettings(const Args& args);
int RunProgress(const Args& args);

}  // namespace travoli::tool
