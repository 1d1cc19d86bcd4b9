#pragma once

#include <string>
#include <vector>

namespace travoli::tool {

using Args = std::vector<std::string>;

// Exit status for bad arguments or bad input.
constexpr int UsageError = 2;

// Prints "travoli-tool: <message>" on stderr and returns UsageError.
int Fail(const std::string& message);

// Parses a level number 1-225; false for anything else.
bool ParseLevel(const std::string& text, int& level);

int RunLevels(const Args& args);
int RunSolve(const Args& args);
int RunRecords(const Args& args);
int RunChunk(const Args& args);
int RunSettings(const Args& args);

}  // namespace travoli::tool
