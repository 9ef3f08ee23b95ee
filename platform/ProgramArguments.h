#pragma once

#include <string>
#include <vector>

namespace kelvane {

// The program's arguments, without its name, in UTF-8. On Windows they are taken from the
// wide-character command line: argv there is in the ANSI code page, which cannot spell every
// file name. Elsewhere they are argv as it is.
std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace kelvane
