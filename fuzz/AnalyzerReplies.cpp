#include "fuzz/AnalyzerReplies.h"

#include <cstdio>
#include <initializer_list>

namespace kelvane::fuzz {

std::string AnalyzerReplies::Answer(const std::string& query) {
    std::string text;
    if (query == "*STB?") {
        // 128 first: an exhausted input ends the wait at once.
        text = Choice({"128", "32", "160", "0", "16", "64", "40000", "-1"});
    } else if (query == "*ESR?") {
        text = Choice({"0", "8", "16", "24", "4", "32"});
    } else if (query == "SEM?") {
        text = "0," + Number(2132487000, 1000) + "," + Number(2132687000, 1000) + "," +
               Number(2132590000, 1000) + "," + Number(-52.314, 0.01) + "," +
               Number(-95.766, 0.01) + "," + Choice({"PASS", "FAIL", "", " P A S S "});
    } else if (query == "OBW?") {
        text = Number(2000000000, 100) + "," + Number(4150000, 100);
    } else if (query == "ACP?") {
        text = Number(1995000000, 1000) + "," + Number(-45.678, 0.01) + "," +
               Number(2005000000, 1000) + "," + Number(-46.012, 0.01);
    } else if (query == "ACPREF?" || query == "PWCH?" || query == "PWTOTAL?" || query == "ML?") {
        text = Number(-10.5, 0.01);
    } else {
        return {};
    }
    return text + LineEnd();
}

std::string AnalyzerReplies::Number(double base, double step) {
    const double value = base + input_.Int16() * step;
    char text[64];
    switch (input_.Byte() % 5) {
    case 0:
        std::snprintf(text, sizeof text, "%.3f", value);
        break;
    case 1:
        std::snprintf(text, sizeof text, "%.6E", value);
        break;
    case 2:
        std::snprintf(text, sizeof text, "  %.2f ", value);
        break;
    case 3:
        std::snprintf(text, sizeof text, "%+.1f", value);
        break;
    default:
        std::snprintf(text, sizeof text, "%.0f", value);
        break;
    }
    return text;
}

std::string AnalyzerReplies::Choice(std::initializer_list<const char*> texts) {
    return *(texts.begin() + input_.Byte() % texts.size());
}

std::string AnalyzerReplies::LineEnd() { return Choice({"\r\n", "\n", "", "\r"}); }

}  // namespace kelvane::fuzz
