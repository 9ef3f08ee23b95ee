#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace kelvane::fuzz {

// A property every input must keep. A broken one prints what was expected and aborts, which
// libFuzzer reports as a crash and saves the input that caused it.
inline void Require(bool holds, const std::string& property) {
    if (holds) return;
    std::fprintf(stderr, "\nProperty broken: %s\n", property.c_str());
    std::abort();
}

inline bool Printable(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7f; });
}

// Length of the number with `decimals` decimals at the start of the text, as a result line shows
// it: -?(0|[1-9][0-9]*)\.[0-9]{decimals}, not followed by a further digit. 0 when there is none.
inline std::size_t ShownNumberLength(std::string_view text, std::size_t decimals) {
    const auto digitsFrom = [&](std::size_t at) {
        return std::min(text.find_first_not_of("0123456789", at), text.size()) - at;
    };
    const std::size_t sign = text.starts_with('-') ? 1 : 0;
    const std::size_t integer = digitsFrom(sign);
    const std::size_t point = sign + integer;
    if (integer == 0 || (integer > 1 && text[sign] == '0') || point >= text.size() ||
        text[point] != '.' || digitsFrom(point + 1) != decimals)
        return 0;
    return point + 1 + decimals;
}

// The fuzz input read from front to back, one decision at a time. An exhausted input reads as
// zeros, and every decision maps zero to the ordinary case, so a short input plays a
// well-behaved analyzer to the end of its run.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t Byte() { return position_ < size_ ? data_[position_++] : 0; }

    // Two bytes as a signed number, low byte first.
    std::int16_t Int16() {
        const auto low = static_cast<std::uint16_t>(Byte());
        const auto high = static_cast<std::uint16_t>(Byte());
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(low | (high << 8)));
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

}  // namespace kelvane::fuzz
