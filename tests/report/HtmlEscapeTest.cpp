// Text from outside in the report: nothing of it becomes markup, every byte shows, and the page
// stays valid UTF-8 whatever arrived.
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "report/HtmlEscape.h"

namespace kelvane {
namespace {

using namespace std::string_view_literals;

struct Case {
    const char* what;
    std::string_view in;
    std::string_view out;
};

TEST(HtmlEscape, Utf8TextFromOutside) {
    const Case cases[] = {
        {"plain", "SN-0042 bench 7", "SN-0042 bench 7"},
        {"markup", "<script>alert(1)</script>", "&lt;script&gt;alert(1)&lt;/script&gt;"},
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
    for (const Case& c : cases) EXPECT_EQ(HtmlEscaped(c.in), c.out) << c.what;
}

TEST(HtmlEscape, AnalyzerTextAsLatin1) {
    const Case cases[] = {
        {"log lines", "\r\nACP Measurement...\r\nACP = -54.77dB\r\n",
         "\nACP Measurement...\nACP = -54.77dB\n"},
        {"markup in an answer", "\"PWCH?\" answer </pre><script>",
         "&quot;PWCH?&quot; answer &lt;/pre&gt;&lt;script&gt;"},
        {"Latin-1 letters", "10 \xB5W, \xA0\xFF", "10 \xC2\xB5W, \xC2\xA0\xC3\xBF"},
        {"C1 control bytes", "a\x85\x9F", "a\\x85\\x9F"},
        {"lone CR, escape, NUL and DEL", "a\rb\x1B\0\x7F"sv, "a\\x0Db\\x1B\\x00\\x7F"},
        {"tab stays", "a\tb", "a\tb"},
        {"UTF-8 bytes read as Latin-1", "\xC3\xA9", "\xC3\x83\xC2\xA9"},
    };
    for (const Case& c : cases) EXPECT_EQ(HtmlEscapedLatin1(c.in), c.out) << c.what;
}

}  // namespace
}  // namespace kelvane
