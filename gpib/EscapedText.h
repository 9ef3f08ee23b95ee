#pragma once

#include <string>
#include <string_view>

namespace kelvane {

// Bytes as readable text: printable ASCII as it is, quote and backslash escaped, the rest as
// \r, \n, \0 or \xNN.
std::string EscapedText(std::string_view bytes);

}  // namespace kelvane
