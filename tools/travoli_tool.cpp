// travoli-tool: the command line companion of the game.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "game/level_table.h"
#include "tools/commands.h"

namespace travoli::tool {

int Fail(const std::string& message) {
    std::cerr << "travoli-tool: " << message << '\n';
    return UsageError;
}

bool ParseLevel(const std::string& text, int& level) {
    if (text.empty() || text.size() > 3) {
        return false;
    }
    int value = 0;
    for (char ch : text) {
        if (ch < '0' || ch > '9') {
            return false;
        }
        value = value * 10 + (ch - '0');
    }
    if (value < 1 || value > LevelCount) {
        return false;
    }
    level = value;
    return true;
}

}  // namespace travoli::tool

namespace {

constexpr const char* HelpText =
    "usage: travoli-tool COMMAND [ARGS]\n"
    "\n"
    "commands:\n"
    "  levels                      every level with its code, starting board and\n"
    "                              shortest solution, then a summary\n"
    "  solve N [--verbose]         a shortest press sequence for level N (1-225)\n"
    "  records info FILE           the fields and chunks of an item record\n"
    "  records unpack FILE OUT     write a record's payload to OUT\n"
    "  records pack [--compressed] [--ident N] [--description TEXT]\n"
    "               (--image|--sound) IN OUT\n"
    "                              write IN (BMP or WAVE) as an item record\n"
    "  chunk encode|decode         code one piece (stdin to stdout)\n"
    "  settings dump|get|set|delete ...\n"
    "                              look at or change the saved settings\n"
    "  --help                      this text\n";

struct Command {
    const char* name;
    int (*run)(const travoli::tool::Args&);
};

constexpr Command Commands[] = {
    {"levels", travoli::tool::RunLevels},     {"solve", travoli::tool::RunSolve},
    {"records", travoli::tool::RunRecords},   {"chunk", travoli::tool::RunChunk},
    {"settings", travoli::tool::RunSettings},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << HelpText;
        return travoli::tool::UsageError;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        std::cout << HelpText;
        return 0;
    }
    const travoli::tool::Args args(argv + 2, argv + argc);
    for (const Command& command : Commands) {
        if (name == command.name) {
            return command.run(args);
        }
    }
    return travoli::tool::Fail("unknown command '" + name + "' (see travoli-tool --help)");
}
