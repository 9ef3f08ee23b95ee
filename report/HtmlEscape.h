#pragma once

#include <string>
#include <string_view>

namespace kelvane {

// Text from outside as HTML text or an attribute value, so that nothing in it can become markup:
// & < > " ' as character references, every control character and every byte that cannot be
// shown as "\xNN" (so that a report shows what arrived, and a browser never meets a byte it
// cannot decode). The result is valid UTF-8 whatever the input.

// UTF-8 text: the DUT, operator and station, file names, the bus. A byte that is not part of a
// well-formed UTF-8 sequence (overlong, surrogate, beyond U+10FFFF, cut short) and the control
// characters C0, DEL and C1 are shown as "\xNN", byte by byte.
std::string HtmlEscaped(std::string_view utf8);

// 8-bit text from the analyzer and the log (Latin-1, as the window shows it): bytes 0xA0 to 0xFF
// become their Latin-1 characters, CR LF a line break (a lone CR and other control bytes, C1
// included, "\xNN"); tab and LF stay.
std::string HtmlEscapedLatin1(std::string_view bytes);

}  // namespace kelvane
