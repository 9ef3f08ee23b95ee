#pragma once

#include <string>

#include "fuzz/FuzzInput.h"

namespace kelvane::fuzz {

// Well-formed analyzer answers whose numbers, number forms, verdicts and line ends come from the
// fuzz input, so that runs reach their result lines far more often than random bytes would.
// An exhausted input gives plausible answers and a status byte with the end bit set.
class AnalyzerReplies {
public:
    explicit AnalyzerReplies(FuzzInput& input) : input_(input) {}

    // The answer to one read after `query` was written; empty for a text that is no query.
    std::string Answer(const std::string& query);

private:
    std::string Number(double base, double step);
    std::string Choice(std::initializer_list<const char*> texts);
    std::string LineEnd();

    FuzzInput& input_;
};

}  // namespace kelvane::fuzz
