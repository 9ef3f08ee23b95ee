#include "measurements/ReplyCheck.h"

#include "analyzer/ReplyText.h"
#include "measurements/BadReply.h"

namespace kelvane {

namespace {

std::string Quoted(const std::string& replyText) {
    std::string quoted = "\"";
    quoted += PrintableExcerpt(replyText);
    quoted += '"';
    return quoted;
}

void RequireAnswer(int bytesRead, const std::string& answerName) {
    if (bytesRead <= 0) throw BadReply(answerName + " did not arrive");
}

}  // namespace

std::vector<std::string> ReplyFields(const std::string& buffer, int bytesRead,
                                     std::size_t minFields, const std::string& answerName) {
    RequireAnswer(bytesRead, answerName);
    auto fields = SplitReply(buffer);
    if (fields.size() < minFields) {
        throw BadReply(answerName + " has " + std::to_string(fields.size()) +
                       (fields.size() == 1 ? " field, " : " fields, ") + std::to_string(minFields) +
                       " expected");
    }
    return fields;
}

double NumberField(const std::vector<std::string>& fields, std::size_t index,
                   const std::string& answerName) {
    const std::string& text = fields.at(index);
    const auto value = StrictNumber(text);
    if (!value) {
        throw BadReply(answerName + " field " + std::to_string(index) +
                       " is not a number: " + Quoted(text));
    }
    return *value;
}

std::string VerdictField(const std::vector<std::string>& fields, std::size_t index,
                         const std::string& answerName) {
    const std::string& text = fields.at(index);
    const auto isFill = [](char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\0'; };
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isFill(text[begin])) ++begin;
    while (end > begin && isFill(text[end - 1])) --end;
    std::string verdict = text.substr(begin, end - begin);
    if (verdict != "PASS" && verdict != "FAIL") {
        throw BadReply(answerName + " field " + std::to_string(index) +
                       " is not PASS or FAIL: " + Quoted(text));
    }
    return verdict;
}

double NumberReply(const std::string& buffer, int bytesRead, const std::string& answerName) {
    RequireAnswer(bytesRead, answerName);
    const auto value = StrictNumber(buffer);
    if (!value) throw BadReply(answerName + " is not a number: " + Quoted(buffer));
    return *value;
}

double LeadingNumberReply(const std::string& buffer, int bytesRead, const std::string& answerName) {
    RequireAnswer(bytesRead, answerName);
    // Only the bytes that arrived: the number must end where the analyzer's answer says so.
    const auto reply = std::string_view(buffer).substr(0, static_cast<std::size_t>(bytesRead));
    const auto value = DelimitedLeadingNumber(reply);
    if (value) return *value;
    // A number that runs into other characters ("0x10", "1e") or lies out of range ("1e999").
    if (LeadingNumber(reply)) throw BadReply(answerName + " is not a number: " + Quoted(buffer));
    throw BadReply(answerName + " does not start with a number: " + Quoted(buffer));
}

}  // namespace kelvane
