// Reply splitting, the reply conversions and the number forms on arbitrary bytes. Besides "no
// crash and no undefined behaviour", every input must keep the properties the measurements rely
// on.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "analyzer/ReplyText.h"
#include "fuzz/FuzzSupport.h"
#include "measurements/NumberForms.h"

namespace {

using namespace kelvane;
using kelvane::fuzz::Require;

bool SameNumber(double a, double b) { return a == b && std::signbit(a) == std::signbit(b); }

// The three conversions agree wherever more than one of them gives a value.
void CheckConversions(std::string_view text) {
    const std::optional<double> strict = StrictNumber(text);
    const std::optional<double> leading = LeadingNumber(text);
    Require(!leading || std::isfinite(*leading), "LeadingNumber gives only finite numbers");
    Require(!strict || (leading && SameNumber(*leading, *strict)),
            "what StrictNumber accepts, LeadingNumber reads as the same number");
    const std::optional<double> delimited = DelimitedLeadingNumber(text);
    Require(!delimited || (leading && SameNumber(*leading, *delimited)),
            "what DelimitedLeadingNumber accepts, LeadingNumber reads as the same number");
    Require(!strict || delimited, "what StrictNumber accepts, DelimitedLeadingNumber accepts");
}

void CheckNumberForms(double value) {
    if (!std::isfinite(value)) return;
    // A shown number has its pattern's shape and reads back within half a unit of its last
    // decimal (plus the rounding to 15 significant digits).
    for (const auto& [pattern, decimals] : {std::pair{"#0.00", 2}, std::pair{"###0.000", 3}}) {
        const std::string shown = PatternNumber(value, pattern);
        Require(fuzz::ShownNumberLength(shown, static_cast<std::size_t>(decimals)) == shown.size(),
                std::string(pattern) + " gives -?[0-9]+.[0-9]{decimals}: " + shown);
        Require((shown[0] == '-') == (value < 0), "a shown number has '-' exactly when negative");
        const std::optional<double> back = StrictNumber(shown);
        const double halfUnit = 0.5 * std::pow(10.0, -decimals);
        Require(back ? std::fabs(*back - value) <= halfUnit * (1 + 1e-9) + std::fabs(value) * 1e-14
                     : std::fabs(value) > 1e308,
                "a shown number is rounded to its last decimal: " + shown);
    }

    const std::string general = GeneralNumber(value);
    const double magnitude = std::fabs(value);
    Require(general.find_first_not_of("0123456789.-+E") == std::string::npos,
            "GeneralNumber writes only digits, '.', signs and 'E': " + general);
    Require(magnitude < 1e-4 || magnitude >= 1e15 || general.find('E') == std::string::npos,
            "GeneralNumber's plain form inside [1e-4, 1e15): " + general);
    const std::optional<double> back = StrictNumber(general);
    Require(back ? std::fabs(*back - value) <= magnitude * 1e-14 : magnitude > 1.7976931348623e308,
            "GeneralNumber reads back with 15 significant digits: " + general);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> fields = SplitReply(text);
    std::string joined;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        Require(fields[i].find(',') == std::string::npos, "no field holds a comma");
        joined += (i > 0 ? "," : "") + fields[i];
        CheckConversions(fields[i]);
    }
    Require(joined == text, "the fields joined by ',' give the reply back");
    CheckConversions(text);

    const std::string excerpt = PrintableExcerpt(text, 40);
    Require(fuzz::Printable(excerpt) && excerpt.size() <= 46, "an excerpt is short and printable");

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
