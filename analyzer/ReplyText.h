#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

// Splits a reply buffer's whole text at every ','. Fields are not trimmed; the last one runs to
// the end of the buffer. An empty text gives one empty field.
std::vector<std::string> SplitReply(std::string_view text);

// Strict conversion: the whole text must be one decimal number (optional sign, digits with an
// optional fraction, optional exponent) with optional blanks before it; behind it only blanks,
// CR, LF, tabs and NUL characters may follow. Anything else, or a number out of the double's
// range, gives no value.
std::optional<double> StrictNumber(std::string_view text);

// The number at the start of a text, skipping blanks, tabs and line feeds wherever they stand
// ("1 2" reads as 12) and stopping at the first character that cannot continue the number.
// No value when the text does not start with a number.
std::optional<double> LeadingNumber(std::string_view text);

// The number at the start of a text (after blanks, tabs and line feeds), which must end at a
// comma, a blank or tab, CR, LF, NUL or the end of the text, and may not be followed, past blanks
// and line ends, by what could be more of a number: "1e", "0x10", "1.2.3" and "-10.2 5" are no
// numbers; "-10.2047,0\n" reads as -10.2047, "-5.5 dBm" as -5.5. A NUL ends it only when nothing
// but blanks, line ends and NUL follow up to the end of the text: pass only the bytes that a read
// delivered, and "-10.2\0" "047" is no number.
std::optional<double> DelimitedLeadingNumber(std::string_view text);

// A reply text made fit for one line of the log: trimmed of blanks, CR, LF and NUL characters
// at both ends, other control bytes written as \xNN, cut to maxLength characters with "...".
std::string PrintableExcerpt(std::string_view text, std::size_t maxLength = 40);

}  // namespace kelvane
