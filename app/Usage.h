#pragma once

#include <string>

namespace kelvane {

// What the command line accepts and the help tells alike, below both (CommandLine, HelpText).

// The most times --repeat runs the named measurements; the least is 1.
inline constexpr int kMaxRepeat = 10000;

// The usage in one line, without a line end; the database actions where the build has them.
std::string UsageLine();

}  // namespace kelvane
