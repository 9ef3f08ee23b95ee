#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace kelvane::fuzz {

// Shapes of log lines and command texts: literal text in which
//   '@' stands for a number shown with two decimals  (-?(0|[1-9][0-9]*)\.[0-9]{2}),
//   '%' for a number shown with three decimals        (-?(0|[1-9][0-9]*)\.[0-9]{3}),
//   '$' for a number in a command's general form      (-?(0|[1-9][0-9]*)(\.[0-9]*[1-9])?
//                                                       (E[+-][0-9]{2,3})?).
// None of these three characters occurs in a literal part of any shape Kelvane uses.

// How many characters from the start of `text` the shape takes, if it matches there.
std::optional<std::size_t> MatchShapePrefix(std::string_view text, std::string_view shape);

// Whether the whole text has the shape.
bool MatchesShape(std::string_view text, std::string_view shape);

}  // namespace kelvane::fuzz
