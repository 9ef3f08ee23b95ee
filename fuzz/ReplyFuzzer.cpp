// Reply conversions, reply splitting and number forms on arbitrary bytes. Besides "no crash and
// no undefined behaviour", every input must keep the properties the measurements rely on.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bus/NumberForms.h"
#include "bus/ReplyText.h"
#include "fuzz/Require.h"
#include "fuzz/TextShape.h"

namespace kelvane::fuzz {

namespace {

bool SameNumber(double a, double b) { return a == b && std::signbit(a) == std::signbit(b); }

void CheckSplit(std::string_view text) {
    const std::vector<std::string> fields = SplitReply(text);
    std::string joined;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        Require(fields[i].find(',') == std::string::npos, "no field holds a comma");
        if (i > 0) joined += ',';
        joined += fields[i];
    }
    Require(joined == text, "the fields joined by ',' give the reply back");
}

// The three conversions agree wherever more than one of them gives a value.
void CheckConversions(std::string_view text) {
    const std::optional<double> strict = StrictNumber(text);
    const std::optional<double> leading = LeadingNumber(text);
    const double lenient = LenientNumber(text);
    Require(SameNumber(lenient, leading.value_or(0.0)), "LenientNumber is LeadingNumber or 0");
    if (leading) Require(std::isfinite(*leading), "LeadingNumber gives only finite numbers");
    if (strict) {
        Require(std::isfinite(*strict), "StrictNumber gives only finite numbers");
        Require(leading && SameNumber(*leading, *strict),
                "what StrictNumber accepts, LeadingNumber reads as the same number");
    }
}

void CheckExcerpt(std::string_view text) {
    constexpr std::size_t kMaxLength = 40;
    const std::string excerpt = PrintableExcerpt(text, kMaxLength);
    for (char c : excerpt) Require(c >= 0x20 && c < 0x7f, "an excerpt is printable ASCII");
    Require(excerpt.size() <= kMaxLength + 6, "an excerpt keeps to its length");
    bool plain =
        !text.empty() && text.size() <= kMaxLength && text.front() != ' ' && text.back() != ' ';
    for (char c : text) plain = plain && c >= 0x20 && c < 0x7f;
    if (plain) Require(excerpt == text, "a short printable text is its own excerpt");
}

// A shown number reads back within half a unit of its last decimal (plus the 15-digit rounding).
void CheckShown(double value, const std::string& shown, double halfUnit) {
    Require((shown[0] == '-') == (value < 0), "a shown number has '-' exactly when negative");
    const std::optional<double> back = StrictNumber(shown);
    if (!back) {
        Require(std::fabs(value) > 1e308, "a shown number reads back");
        return;
    }
    Require(std::fabs(*back - value) <= halfUnit * (1 + 1e-9) + std::fabs(value) * 1e-14,
            "a shown number is rounded to its last decimal: " + shown);
}

void CheckNumberForms(double value) {
    if (!std::isfinite(value)) return;
    const std::string twoDecimals = PatternNumber(value, "#0.00");
    Require(MatchesShape(twoDecimals, "@"), "\"#0.00\" gives -?[0-9]+.[0-9][0-9]: " + twoDecimals);
    Require(PatternNumber(value, "##0.00") == twoDecimals, R"("##0.00" shows as "#0.00")");
    Require(PatternNumber(value, "###0.00") == twoDecimals, R"("###0.00" shows as "#0.00")");
    CheckShown(value, twoDecimals, 0.005);
    const std::string threeDecimals = PatternNumber(value, "###0.000");
    Require(MatchesShape(threeDecimals, "%"),
            "\"###0.000\" gives -?[0-9]+.[0-9][0-9][0-9]: " + threeDecimals);
    CheckShown(value, threeDecimals, 0.0005);

    const std::string general = GeneralNumber(value);
    if (value == 0) {
        Require(general == "0", "GeneralNumber writes zero as \"0\"");
        return;
    }
    Require(MatchesShape(general, "$"), "GeneralNumber's form: " + general);
    const double magnitude = std::fabs(value);
    if (magnitude >= 1e-4 && magnitude < 1e15)
        Require(general.find('E') == std::string::npos, "plain form inside [1e-4, 1e15)");
    const std::optional<double> back = StrictNumber(general);
    if (!back) {
        Require(magnitude > 1.7976931348623e308, "a general number reads back: " + general);
        return;
    }
    Require(*back == value || std::fabs(*back - value) <= magnitude * 1e-14,
            "a general number keeps 15 significant digits: " + general);
}

}  // namespace

}  // namespace kelvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kelvane;
    using namespace kelvane::fuzz;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckSplit(text);
    CheckConversions(text);
    CheckExcerpt(text);
    for (const auto& field : SplitReply(text)) CheckConversions(field);

    if (const auto strict = StrictNumber(text)) CheckNumberForms(*strict);
    if (const auto leading = LeadingNumber(text)) CheckNumberForms(*leading);
    if (size >= sizeof(double)) {
        // The raw bits reach values no reply text would spell: tiny, huge, negative zero.
        double raw = 0;
        std::memcpy(&raw, data, sizeof raw);
        CheckNumberForms(raw);
    }
    return 0;
}
