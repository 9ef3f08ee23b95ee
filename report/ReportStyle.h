#pragma once

#include <string_view>

namespace kelvane {

// The report's style sheet, inside the page (no outside file): a readable page on the screen, and
// A4 on paper with each measurement kept on one page where it fits. Verdicts differ in colour and
// also in symbol, word, weight and frame, so that a grey print reads the same.
std::string_view ReportStyleSheet();

}  // namespace kelvane
