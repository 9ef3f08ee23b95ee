#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kelvane {

// Frequencies arrive in Hz and are shown in MHz.
inline constexpr double kHzPerMHz = 1000000.0;

// Checked readings of analyzer answers. Each names its answer in the failure reason the way the
// log shows it, e.g. "\"ACP?\" answer 1" or "\"SEM?\" record 3 of 8", and throws BadReply when
// the answer cannot be used; none reads past the end of a field list.

// bytesRead is what the answer's read delivered: an answer of which no byte arrived is no
// answer, whatever its buffer holds.

// The buffer's fields; at least minFields of them.
std::vector<std::string> ReplyFields(const std::string& buffer, int bytesRead,
                                     std::size_t minFields, const std::string& answerName);

// Field `index` (which must exist) as a number under the strict conversion. Also used for the
// texts shown through a display pattern: the pattern needs a number in them.
double NumberField(const std::vector<std::string>& fields, std::size_t index,
                   const std::string& answerName);

// Field `index` (which must exist) as the mask verdict: "PASS" or "FAIL" once blanks, CR, LF and
// NUL are trimmed from both ends (the last field runs into the line end and the blank fill).
std::string VerdictField(const std::vector<std::string>& fields, std::size_t index,
                         const std::string& answerName);

// The whole buffer as a number under the strict conversion.
double NumberReply(const std::string& buffer, int bytesRead, const std::string& answerName);

// The finite number at the start of the bytes read (the lenient reading, without its 0 for
// "none"), which must end at a comma, a blank, CR, LF, NUL or the end of the bytes read.
double LeadingNumberReply(const std::string& buffer, int bytesRead, const std::string& answerName);

}  // namespace kelvane
