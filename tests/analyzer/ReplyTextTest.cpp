#include <gtest/gtest.h>

#include "analyzer/ReplyText.h"

namespace kelvane::testing {
namespace {

using namespace std::string_literals;

TEST(SplitReply, KeepsEveryFieldAndTheBuffersTail) {
    std::string buffer(50, '\0');
    buffer.replace(0, 3, "1,2");
    const auto fields = SplitReply(buffer);
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_EQ(fields[0], "1");
    EXPECT_EQ(fields[1], "2" + std::string(47, '\0'));

    EXPECT_EQ(SplitReply(std::string(200, ' ')), std::vector<std::string>{std::string(200, ' ')});
    EXPECT_EQ(SplitReply(",a,,b,"), (std::vector<std::string>{"", "a", "", "b", ""}));
    EXPECT_EQ(SplitReply(""), std::vector<std::string>{""});
}

TEST(StrictNumber, AcceptsOneNumberWithItsTerminatorAndTail) {
    const std::pair<std::string, double> good[] = {
        {"2132487000", 2132487000.0},
        {"-52.314", -52.314},
        {"  +4.5e3  ", 4500.0},
        {"1E-3", 0.001},
        {"1.5e-400", 0.0},
        {"-0.0000001e-330", 0.0},
        {"7.", 7.0},
        {".25", 0.25},
        {"-10.5\r\n" + std::string(40, ' '), -10.5},
        {"3\n"s + std::string(10, '\0'), 3.0},
        {"0\r", 0.0},
        {"\t12", 12.0},
    };
    for (const auto& [text, value] : good) {
        const auto number = StrictNumber(text);
        ASSERT_TRUE(number.has_value()) << text;
        EXPECT_DOUBLE_EQ(*number, value) << text;
    }
    const std::string bad[] = {
        "",         "   ", "abc", "12abc", "1 2",  "1,2",   "--1",
        "+",        ".",   "1e",  "e5",    "0x10", "1e999", "2e308",
        "0.01e311", "nan", "inf", "1.2.3", "\r\n", "5 dBm", std::string(50, '\0')};
    for (const auto& text : bad) EXPECT_FALSE(StrictNumber(text).has_value()) << text;
}

// The lenient reading: the number at the start, or 0 when there is none.
TEST(LeadingNumber, TakesTheNumberAtTheStart) {
    const std::pair<std::string, double> cases[] = {
        {"-23.456", -23.456},
        {"1 2", 12.0},
        {" -2 3.5\n", -23.5},
        {"-23.456,0,1", -23.456},
        {"-23.456\r\n", -23.456},
        {"12dBm", 12.0},
        {"1e3x", 1000.0},
        {"1e", 1.0},
        {"abc", 0.0},
        {std::string(50, '\0'), 0.0},
        {"", 0.0},
        {"160"s + std::string(7, '\0'), 160.0},
        {"460"s + std::string(7, '\0'), 460.0},
        {"\t+7", 7.0},
    };
    for (const auto& [text, value] : cases)
        EXPECT_DOUBLE_EQ(LeadingNumber(text).value_or(0.0), value) << text;
    EXPECT_FALSE(LeadingNumber("abc").has_value());
    EXPECT_FALSE(LeadingNumber(std::string(50, '\0')).has_value());
    EXPECT_FALSE(LeadingNumber("-").has_value());
    EXPECT_FALSE(LeadingNumber(",-3").has_value());  // a comma ends the text, it is not skipped
    EXPECT_FALSE(LeadingNumber("1e999").has_value());
}

// The power answers' number must end where the analyzer's field or answer ends.
TEST(DelimitedLeadingNumber, NeedsACleanEnd) {
    const std::pair<std::string, double> good[] = {
        {"-10.2047,0\n", -10.2047},
        {"-23.456,dBm\r\n", -23.456},
        {"3", 3.0},
        {"-5.5 dBm", -5.5},
        {"7\r", 7.0},
        {"1e3"s + std::string(5, '\0'), 1000.0},
        {" \t+4 \r\n", 4.0},
        {"9\t,1", 9.0},
        {"-10.2047\0\r\n\0"s, -10.2047},
    };
    for (const auto& [text, value] : good) {
        ASSERT_TRUE(DelimitedLeadingNumber(text).has_value()) << text;
        EXPECT_DOUBLE_EQ(*DelimitedLeadingNumber(text), value) << text;
    }
    // Nor a number with blanks inside it: "1 2" could be 1, 2 or 12.
    for (const char* text : {"0x10", "1.2.3", "1e", "12dBm", "1e3x", "abc", "", "1e999", "-1-",
                             "1 2", "-10.2 5", "1 60", "1\r\n2", "3 .5", "1 e5"})
        EXPECT_FALSE(DelimitedLeadingNumber(text).has_value()) << text;
    // A NUL inside the delivered bytes does not end the number.
    for (const std::string& text : {"-10.2\0"s
                                    "047,0\n",
                                    "-10.2047\0"s
                                    "77\n",
                                    "5\0"s
                                    ",1"})
        EXPECT_FALSE(DelimitedLeadingNumber(text).has_value()) << PrintableExcerpt(text);
}

TEST(PrintableExcerpt, MakesAReplyFitForOneLogLine) {
    EXPECT_EQ(PrintableExcerpt("  abc\r\n" + std::string(20, '\0')), "abc");
    EXPECT_EQ(PrintableExcerpt("a\rb\x01"), "a\\x0Db\\x01");
    EXPECT_EQ(PrintableExcerpt(std::string(100, 'x'), 10), "xxxxxxxxxx...");
}

}  // namespace
}  // namespace kelvane::testing
