// Text from outside in the report: nothing of it becomes markup, every byte shows, and the page
// stays valid UTF-8 whatever arrived.
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "report/HtmlEscape.h"

namespace kelvane {
namespace {

struct Case {
    const char* what;
    std::string_view in;
    std::string_view out;
};

// Whether the text is well-formed UTF-8 (decoded by the standard library's rules, by hand).
bool ValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const int length = c < 0x80         ? 1
                           : (c >> 5) == 6  ? 2
                           : (c >> 4) == 14 ? 3
                           : (c >> 3) == 30 ? 4
                                            : 0;
        if (length == 0 || i + length > text.size()) return false;
        for (int k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) >> 6) != 2) return false;
        i += static_cast<std::size_t>(length);
    }
    return true;
}

TEST(HtmlEscape, Utf8TextFromOutside) {
    using namespace std::string_view_literals;
    const Case cases[] = {
        {"plain", "SN-0042 bench 7", "SN-0042 bench 7"},
        {"markup", "<script>alert(1)</script>", "&lt;script&gt;alert(1)&lt;/script&gt;"},
        {"closing the pre", "</pre><b>", "&lt;/pre&gt;&lt;b&gt;"},
        {"quotes leave no attribute", "a\" onload='x'", "a&quot; onload=&#39;x&#39;"},
        {"an entity stays text", "&amp; &#60;", "&amp;amp; &amp;#60;"},
        {"letters of other scripts", "J\xC3\xBCrgen \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x93\xA1",
         "J\xC3\xBCrgen \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x93\xA1"},
        {"control characters", "a\tb\nc\x1B[0m\x7F", "a\\x09b\\x0Ac\\x1B[0m\\x7F"},
        {"NUL", "a\0b"sv, "a\\x00b"},
        {"C1 control as UTF-8", "x\xC2\x85y", "x\\xC2\\x85y"},
        {"Latin-1 byte alone", "caf\xE9", "caf\\xE9"},
        {"sequence cut short", "ab\xE6\x97", "ab\\xE6\\x97"},
        {"overlong slash", "\xC0\xAF", "\\xC0\\xAF"},
        {"overlong three bytes", "\xE0\x80\xAF", "\\xE0\\x80\\xAF"},
        {"surrogate", "\xED\xA0\x80", "\\xED\\xA0\\x80"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},
        {"lone continuation", "\x80<", "\\x80&lt;"},
    };
    for (const Case& c : cases) {
        const std::string escaped = HtmlEscaped(c.in);
        EXPECT_EQ(escaped, c.out) << c.what;
        EXPECT_TRUE(ValidUtf8(escaped)) << c.what;
        EXPECT_EQ(escaped.find('<'), std::string::npos) << c.what;
    }
}

TEST(HtmlEscape, AnalyzerTextAsLatin1) {
    using namespace std::string_view_literals;
    const Case cases[] = {
        {"log lines", "\r\nACP Measurement...\r\nACP = -54.77dB\r\n",
         "\nACP Measurement...\nACP = -54.77dB\n"},
        {"markup in an answer", "\"PWCH?\" answer <script>",
         "&quot;PWCH?&quot; answer &lt;script&gt;"},
        {"closing the pre", "x</pre><h1>y", "x&lt;/pre&gt;&lt;h1&gt;y"},
        {"Latin-1 letters",
         "10 \xB5W, 25 \xB0"
         "C, \xFF",
         "10 \xC2\xB5W, 25 \xC2\xB0"
         "C, \xC3\xBF"},
        {"no-break space",
         "a\xA0"
         "b",
         "a\xC2\xA0"
         "b"},
        {"C1 control bytes",
         "a\x85\x9F"
         "b",
         "a\\x85\\x9Fb"},
        {"lone CR and escape", "a\rb\x1B", "a\\x0Db\\x1B"},
        {"NUL and DEL", "\0\x7F"sv, "\\x00\\x7F"},
        {"tab stays", "a\tb", "a\tb"},
        {"UTF-8 bytes read as Latin-1", "\xC3\xA9", "\xC3\x83\xC2\xA9"},
    };
    for (const Case& c : cases) {
        const std::string escaped = HtmlEscapedLatin1(c.in);
        EXPECT_EQ(escaped, c.out) << c.what;
        EXPECT_TRUE(ValidUtf8(escaped)) << c.what;
    }
}

}  // namespace
}  // namespace kelvane
