#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace kelvane {

// A field as it goes into SQL or comes out of it: NULL, text, a number or a whole number.
// Always bound as a parameter, never spliced into a statement.
using SqlValue = std::variant<std::monostate, std::string, double, std::int64_t>;
using SqlRow = std::vector<SqlValue>;

}  // namespace kelvane
