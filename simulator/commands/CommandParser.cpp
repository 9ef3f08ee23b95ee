#include "simulator/commands/CommandParser.h"

#include <cctype>

#include "simulator/commands/CommandText.h"
#include "simulator/commands/Quantity.h"

namespace kelvane {

namespace {

bool IsHeaderChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '*' || c == '?';
}

// A cursor over the message.
class Scanner {
public:
    explicit Scanner(std::string_view text) : text_(text) {}

    bool AtEnd() const { return pos_ >= text_.size(); }
    void SkipBlanks() {
        while (!AtEnd() && CommandText::IsBlank(text_[pos_])) ++pos_;
    }
    void SkipSeparators() {
        while (!AtEnd() && (CommandText::IsBlank(text_[pos_]) || text_[pos_] == ';')) ++pos_;
    }
    std::string_view Header() { return TakeWhile(IsHeaderChar); }
    // A token up to the next blank or ';'.
    std::string_view Token() {
        return TakeWhile([](char c) { return !CommandText::IsBlank(c) && c != ';'; });
    }
    std::string_view RestOfCommand() {
        return TakeWhile([](char c) { return c != ';'; });
    }
    std::size_t Position() const { return pos_; }
    void Rewind(std::size_t pos) { pos_ = pos; }

private:
    template <typename Pred>
    std::string_view TakeWhile(Pred pred) {
        const std::size_t start = pos_;
        while (!AtEnd() && pred(text_[pos_])) ++pos_;
        return text_.substr(start, pos_ - start);
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

std::optional<QuantityKind> NumericKind(ArgumentKind kind) {
    switch (kind) {
    case ArgumentKind::Frequency:
        return QuantityKind::Frequency;
    case ArgumentKind::Level:
        return QuantityKind::Level;
    case ArgumentKind::Time:
        return QuantityKind::Time;
    case ArgumentKind::Number:
        return QuantityKind::Plain;
    default:
        return std::nullopt;
    }
}

}  // namespace

CommandParser::Result CommandParser::Parse(std::string_view message) const {
    Result result;
    Scanner scanner(message);
    while (true) {
        scanner.SkipSeparators();
        if (scanner.AtEnd()) return result;
        Command command;
        command.header = CommandText::Upper(scanner.Header());
        const auto kind = command.header.empty() ? std::nullopt : lookup_(command.header);
        if (!kind) {
            result.malformed = true;
            return result;
        }
        if (const auto quantity = NumericKind(*kind)) {
            scanner.SkipBlanks();
            const auto value = Quantity::Parse(scanner.Token(), *quantity);
            if (!value) {
                result.malformed = true;
                return result;
            }
            command.value = *value;
        } else if (*kind == ArgumentKind::Word) {
            scanner.SkipBlanks();
            command.text = CommandText::Upper(scanner.Token());
            if (command.text.empty()) {
                result.malformed = true;
                return result;
            }
        } else if (*kind == ArgumentKind::OptionalWord) {
            const std::size_t before = scanner.Position();
            scanner.SkipBlanks();
            const std::string word = CommandText::Upper(scanner.Token());
            if (!word.empty() && !lookup_(word)) {
                command.text = word;
            } else {
                scanner.Rewind(before);
            }
        } else if (*kind == ArgumentKind::List) {
            command.text = std::string(CommandText::Trimmed(scanner.RestOfCommand()));
        } else if (!scanner.AtEnd() && !CommandText::IsBlank(message[scanner.Position()]) &&
                   message[scanner.Position()] != ';') {
            result.malformed = true;  // e.g. "TS," : junk glued to a bare header
            return result;
        }
        result.commands.push_back(std::move(command));
    }
}

}  // namespace kelvane
