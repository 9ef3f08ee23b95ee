#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

// Text helpers of the command parser: case folding, trimming and splitting of command text.
class CommandText {
public:
    // Blanks, tabs, CR and LF: what separates the parts of a command.
    static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
    // The text without blanks at either end.
    static std::string_view Trimmed(std::string_view text);
    // The text in upper case (ASCII letters only).
    static std::string Upper(std::string_view text);
    // The comma-separated fields of a command's argument, untrimmed ("1,,2" has three).
    static std::vector<std::string_view> Fields(std::string_view text);
};

}  // namespace kelvane
