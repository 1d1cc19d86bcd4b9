// travoli-tool: the command line companion of the game.
#include <getopt.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "game/level_table.h"
#include "texts/error_message.h"
#include "tools/commands.h"

namespace {

using travoli::tool::Args;

struct Command {
    const char* name;
    // The forms of the call, one a line, each without "usage: ".
    const char* usage;
    // What `help NAME` and `NAME --help` print after the usage.
    const char* help;
    int (*run)(const Args&);
};

int RunHelp(const Args& args);

constexpr Command Commands[] = {
    {"levels", "travoli-tool levels",
     "Lists every level with its code, its starting board and the length of its shortest\n"
     "solution, then how many are solvable and which are not.\n",
     travoli::tool::RunLevels},
    {"solve", "travoli-tool solve [--verbose] N",
     "Prints a shortest press sequence for level N (1-225), one cell (column,row) a line.\n"
     "\n"
     "  -v, --verbose        the board before the first press and after each one\n",
     travoli::tool::RunSolve},
    {"progress", "travoli-tool progress [--file PATH] [--unsolved]",
     "Reads the player's best results from the settings file and prints one line per level:\n"
     "the best result, the shortest solution and how many moves the best is above it; then\n"
     "how many levels are solved, how many of them at the shortest solution, and the moves\n"
     "above it in all. The file is only read.\n"
     "\n"
     "  --file PATH          this settings file instead of the player's\n"
     "  --unsolved           only the levels not solved yet\n",
     travoli::tool::RunProgress},
    {"records",
     "travoli-tool records info FILE\n"
     "travoli-tool records unpack FILE OUT\n"
     "travoli-tool records pack [--compressed] [--ident N] [--description TEXT]\n"
     "                          (--image|--sound) IN OUT",
     "info shows the fields and chunks of an item record, unpack writes its payload (a BMP or\n"
     "RIFF WAVE file) to OUT, pack writes the BMP or WAVE file IN as an item record to OUT.\n"
     "\n"
     "  --image, --sound     what IN holds\n"
     "  --compressed         store the payload in coded chunks\n"
     "  --ident N            the record's ident, 0-65535 (0 when not given)\n"
     "  --description TEXT   the record's description, at most 255 characters\n",
     travoli::tool::RunRecords},
    {"chunk", "travoli-tool chunk encode|decode",
     "Codes one piece of at most 32781 bytes into a chunk, or a chunk back into its piece,\n"
     "from standard input to standard output.\n",
     travoli::tool::RunChunk},
    {"settings",
     "travoli-tool settings [--file PATH] dump\n"
     "travoli-tool settings [--file PATH] get SECTION KEY\n"
     "travoli-tool settings [--file PATH] set [--force] SECTION KEY TEXT\n"
     "travoli-tool settings [--file PATH] delete SECTION KEY",
     "Looks at or changes the saved settings: dump prints everything in the file and its path,\n"
     "get one value, set writes one, delete removes one. set takes only what the game itself\n"
     "reads in its own values (section common: level 1-225, back 0-5, sound 0 or 1, tongue\n"
     "-1, 0 or 1, solution, MainForm) and says why it refuses anything else. A TEXT that\n"
     "begins with '-' follows \"--\": settings set common tongue -- -1.\n"
     "\n"
     "  --file PATH          this settings file instead of the player's\n"
     "  --force              set: write any section, key and text as given\n",
     travoli::tool::RunSettings},
    {"help", "travoli-tool help [COMMAND]", "The help of one command, or this list.\n", RunHelp},
};

constexpr const char* GeneralUsage =
    "travoli-tool COMMAND [ARGS]\n"
    "travoli-tool --help | --version";

constexpr const char* GeneralHelp =
    "The command line companion of Travoli.\n"
    "\n"
    "commands:\n"
    "  levels     every level, its starting board and shortest solution\n"
    "  solve      a shortest press sequence for one level\n"
    "  progress   the player's best results beside the shortest solutions\n"
    "  records    look into, unpack and pack item records\n"
    "  chunk      code one piece of a record\n"
    "  settings   look at or change the saved settings\n"
    "  help       the help of one command\n"
    "\n"
    "options:\n"
    "  -h, --help           this text; COMMAND --help, the command's own\n"
    "  --version            the version\n";

const Command* FindCommand(const std::string& name) {
    for (const Command& command : Commands) {
        if (name == command.name) {
            return &command;
        }
    }
    return nullptr;
}

// "usage: " before the first line, as many blanks before the others.
void PrintUsage(std::ostream& out, const std::string& lines) {
    std::string prefix = "usage: ";
    std::size_t start = 0;
    while (start <= lines.size()) {
        const std::size_t end = std::min(lines.find('\n', start), lines.size());
        out << prefix << lines.substr(start, end - start) << '\n';
        prefix = "       ";
        start = end + 1;
    }
}

void PrintHelp(const std::string& name) {
    const Command* command = FindCommand(name);
    PrintUsage(std::cout, command != nullptr ? command->usage : GeneralUsage);
    std::cout << '\n' << (command != nullptr ? command->help : GeneralHelp);
}

// What getopt_long refused, for the message.
std::string OptionProblem(int result, const char* argument, int optionChar,
                          std::initializer_list<travoli::tool::ToolOption> accepted) {
    const std::string text = argument != nullptr ? argument : "";
    if (text.starts_with("--")) {
        const std::string name = text.substr(0, text.find('='));
        if (result == ':') {
            return "option '" + name + "' needs a value";
        }
        for (const auto& wanted : accepted) {
            if (!wanted.takesValue && text.find('=') != std::string::npos &&
                name == std::string("--") + wanted.name) {
                return "option '" + name + "' takes no value";
            }
        }
        return "unknown option '" + name + "'";
    }
    return "unknown option '-" + std::string(1, static_cast<char>(optionChar)) + "'";
}

int RunHelp(const Args& args) {
    travoli::tool::ParsedArgs parsed;
    int status = 0;
    if (!travoli::tool::ParseArgs("help", args, {}, parsed, status)) {
        return status;
    }
    if (parsed.operands.size() > 1) {
        return travoli::tool::WrongCall("help", "help: one command at most");
    }
    const std::string name = parsed.operands.empty() ? "" : parsed.operands[0];
    if (!name.empty() && FindCommand(name) == nullptr) {
        return travoli::tool::WrongCall("help", "help: there is no command '" + name + "'");
    }
    PrintHelp(name);
    return 0;
}

}  // namespace

namespace travoli::tool {

int Fail(const std::string& message) {
    std::cerr << "travoli-tool: " << message << '\n';
    return UsageError;
}

std::string Said(const std::exception_ptr& error) {
    return ErrorMessage(error, EnglishLanguage).toStdString();
}

std::string Said(const HiveFailure& failure) {
    return HiveFailureMessage(failure, EnglishLanguage).toStdString();
}

int WrongCall(const std::string& command, const std::string& message) {
    std::cerr << "travoli-tool: " << message << '\n';
    const Command* found = FindCommand(command);
    PrintUsage(std::cerr, found != nullptr ? found->usage : GeneralUsage);
    return UsageError;
}

bool ParseArgs(const std::string& command, const Args& args,
               std::initializer_list<ToolOption> accepted, ParsedArgs& parsed, int& status) {
    // "-": operands come back in their place among the options (as 1), whatever
    // POSIXLY_CORRECT says; ":": a missing value is told apart from an unknown option.
    std::string shortOptions = "-:h";
    std::vector<option> longOptions;
    for (const ToolOption& wanted : accepted) {
        longOptions.push_back(
            {wanted.name, wanted.takesValue ? required_argument : no_argument, nullptr, wanted.id});
        if (wanted.id < 128) {
            shortOptions += static_cast<char>(wanted.id);
            shortOptions += wanted.takesValue ? ":" : "";
        }
    }
    longOptions.push_back({"help", no_argument, nullptr, 'h'});
    longOptions.push_back({nullptr, 0, nullptr, 0});

    std::string name = "travoli-tool " + command;
    Args copies = args;
    std::vector<char*> argv{name.data()};
    for (std::string& arg : copies) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    const int argc = static_cast<int>(argv.size()) - 1;

    optind = 0;  // glibc: start afresh
    opterr = 0;  // our own messages
    for (;;) {
        const int id =
            getopt_long(argc, argv.data(), shortOptions.c_str(), longOptions.data(), nullptr);
        if (id == -1) {
            break;
        }
        if (id == 1) {
            parsed.operands.emplace_back(optarg);
        } else if (id == 'h') {
            PrintHelp(command);
            status = 0;
            return false;
        } else if (id == '?' || id == ':') {
            status = WrongCall(
                command, command + ": " + OptionProblem(id, argv[optind - 1], optopt, accepted));
            return false;
        } else {
            parsed.options.emplace_back(id, optarg != nullptr ? optarg : "");
        }
    }
    for (int i = optind; i < argc; ++i) {
        parsed.operands.emplace_back(argv[i]);
    }
    return true;
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

int main(int argc, char** argv) {
    static const option globalOptions[] = {{"help", no_argument, nullptr, 'h'},
                                           {"version", no_argument, nullptr, 'V'},
                                           {nullptr, 0, nullptr, 0}};
    opterr = 0;
    // "+": the options end at the command; what follows is the command's.
    for (;;) {
        const int id = getopt_long(argc, argv, "+:h", globalOptions, nullptr);
        if (id == -1) {
            break;
        }
        if (id == 'h') {
            PrintHelp("");
            return 0;
        }
        if (id == 'V') {
            std::cout << "travoli-tool " << TRAVOLI_VERSION << '\n';
            return 0;
        }
        return travoli::tool::WrongCall("", OptionProblem(id, argv[optind - 1], optopt, {}));
    }
    if (optind == argc) {
        return travoli::tool::WrongCall("", "no command given");
    }
    const std::string name = argv[optind];
    const Command* command = FindCommand(name);
    if (command == nullptr) {
        return travoli::tool::WrongCall("", "unknown command '" + name + "'");
    }
    return command->run(Args(argv + optind + 1, argv + argc));
}
