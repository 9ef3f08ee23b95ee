#pragma once

#include <string>
#include <string_view>

namespace kelvane {

// Text helpers of the command parser: case folding and trimming of command text.
class CommandText {
public:
    // Blanks, tabs, CR and LF: what separates the parts of a command.
    static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
    // The text without blanks at either end.
    static std::string_view Trimmed(std::string_view text);
    // The text in upper case (ASCII letters only).
    static std::string Upper(std::string_view text);
};

}  // namespace kelvane
