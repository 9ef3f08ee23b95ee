#include <cmath>

#include <gtest/gtest.h>

#include "measurements/NumberForms.h"

namespace kelvane::testing {
namespace {

TEST(GeneralNumber, WritesCommandNumbers) {
    const std::pair<double, const char*> cases[] = {
        {0.0, "0"},
        {-0.0, "0"},
        {2000000000.0, "2000000000"},
        {5005000000.0, "5005000000"},
        {3840000.0, "3840000"},
        {-8.53, "-8.53"},
        {0.30000000000000004, "0.3"},
        {-8.5, "-8.5"},
        {5.0, "5"},
        {-48.5, "-48.5"},
        {0.0001, "0.0001"},
        {123456789012345.6, "123456789012346"},
        {999999999999999.0, "999999999999999"},
        {0.1 + 0.2 - 0.3, "5.55111512312578E-17"},
        {1e15, "1E+15"},
        {-1e15, "-1E+15"},
        {0.00001, "1E-05"},
        {1.5e-7, "1.5E-07"},
        {1e300, "1E+300"},
        {9.9999999999999999e14, "1E+15"},  // rounds up to the bound
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(GeneralNumber(value), text) << value;
}

TEST(PatternNumber, FormatsResultNumbers) {
    struct Case {
        double value;
        const char* pattern;
        const char* text;
    };
    const Case cases[] = {
        {2132.5, "#0.00", "2132.50"},
        {-45.678, "#0.00", "-45.68"},
        {0.004, "#0.00", "0.00"},
        {12345.678, "##0.00", "12345.68"},
        {4.1234567, "###0.000", "4.123"},
        {1234.5, "###0.000", "1234.500"},
        {2132500000 / 1e6, "#0.00", "2132.50"},
        {2.675, "#0.00", "2.68"},  // the decimal text, not its binary neighbour
        {-52.315, "#0.00", "-52.32"},
        {-52.314, "#0.00", "-52.31"},
        {-95.766, "#0.00", "-95.77"},
        {-0.004, "#0.00", "-0.00"},  // a negative number keeps its sign
        {-0.0, "#0.00", "0.00"},
        {0.0, "###0.000", "0.000"},
        {9.995, "#0.00", "10.00"},
        {-9.995, "#0.00", "-10.00"},
        {0.5, "###0.00", "0.50"},
        {1e20, "#0.00", "100000000000000000000.00"},
        {1.5e-9, "#0.00", "0.00"},
        {4.1515, "###0.000", "4.152"},
        {2140.012345, "###0.000", "2140.012"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PatternNumber(c.value, c.pattern), c.text) << c.value << " " << c.pattern;
}

}  // namespace
}  // namespace kelvane::testing
