#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

// The argument a command header takes.
enum class ArgumentKind {
    None,
    Frequency,     // one number, Hz after its suffix
    Level,         // one number, dB
    Time,          // one number, s
    Number,        // one plain number (counts, percentages, register values)
    Word,          // one keyword ("POS", "ON", "CHN")
    OptionalWord,  // a keyword if the next token is not a header itself ("SEMON", "SEMON OFF")
    List,          // the rest of the command up to ';', e.g. the comma list of "SEMTIN"
};

// One command out of a bus message. The header is in upper case.
struct Command {
    std::string header;
    double value = 0.0;  // numeric arguments, in Hz, dB, s or plain
    std::string text;    // Word (upper case), OptionalWord (may be empty) and List arguments
};

// Splits one bus message into commands. Commands are separated by ';' or, as in
// "RB 300e3HZ VB 300e3HZ", simply by the blank behind a complete command: the grammar says
// how much each header takes. Parsing stops at the first unknown header or malformed argument;
// the commands before it stand.
class CommandParser {
public:
    using KindLookup = std::function<std::optional<ArgumentKind>(std::string_view header)>;

    struct Result {
        std::vector<Command> commands;
        bool malformed = false;
    };

    explicit CommandParser(KindLookup lookup) : lookup_(std::move(lookup)) {}

    Result Parse(std::string_view message) const;

private:
    KindLookup lookup_;
};

}  // namespace kelvane
