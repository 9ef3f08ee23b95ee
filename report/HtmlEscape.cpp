#include "report/HtmlEscape.h"

namespace kelvane {

namespace {

void AppendByteEscape(std::string& out, unsigned char byte) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    out += "\\x";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0x0F];
}

// An ASCII character, or false when it is a control character (shown escaped by the caller).
bool AppendAscii(std::string& out, unsigned char c) {
    switch (c) {
    case '&':
        out += "&amp;";
        return true;
    case '<':
        out += "&lt;";
        return true;
    case '>':
        out += "&gt;";
        return true;
    case '"':
        out += "&quot;";
        return true;
    case '\'':
        out += "&#39;";
        return true;
    default:
        if (c < 0x20 || c == 0x7F) return false;
        out += static_cast<char>(c);
        return true;
    }
}

// The length of the well-formed UTF-8 sequence at `text[at]` (a lead byte 0xC2 or above), 0 when
// it is not one: the shortest form only, no surrogates, nothing beyond U+10FFFF.
std::size_t SequenceLength(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    unsigned char low = 0x80;  // the second byte's range
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // overlong below
        if (lead == 0xED) high = 0x9F;  // surrogates above
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;   // overlong below
        if (lead == 0xF4) high = 0x8F;  // beyond U+10FFFF above
    } else {
        return 0;
    }
    if (at + length > text.size() || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    return length;
}

}  // namespace

std::string HtmlEscaped(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size() + utf8.size() / 8);
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            if (!AppendAscii(out, c)) AppendByteEscape(out, c);
            ++i;
            continue;
        }
        const std::size_t length = SequenceLength(utf8, i);
        // U+0080 to U+009F (C2 80 to C2 9F) are control characters too.
        const bool c1 = length == 2 && c == 0xC2 && static_cast<unsigned char>(utf8[i + 1]) < 0xA0;
        if (length == 0 || c1) {
            const std::size_t count = length == 0 ? 1 : length;
            for (std::size_t k = 0; k < count; ++k)
                AppendByteEscape(out, static_cast<unsigned char>(utf8[i + k]));
            i += count;
            continue;
        }
        out.append(utf8.substr(i, length));
        i += length;
    }
    return out;
}

std::string HtmlEscapedLatin1(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;  // CR LF: LF
        if (c == '\n' || c == '\t') {
            out += static_cast<char>(c);
        } else if (c < 0x80) {
            if (!AppendAscii(out, c)) AppendByteEscape(out, c);
        } else if (c < 0xA0) {
            AppendByteEscape(out, c);  // C1 control characters
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

}  // namespace kelvane
