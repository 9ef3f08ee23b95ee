#pragma once

#include <optional>
#include <string>
#include <vector>

#include "store/SqlValue.h"

namespace kelvane {

// A database that answers a query with rows (SQLite or PostgreSQL): what the history needs of
// either. Parameters are $1, $2, ... in the statement.
class TextQuery {
public:
    virtual ~TextQuery() = default;

    // The rows, every field NULL, text or a number as the database typed it; nullopt when the
    // query failed (Error() says why).
    virtual std::optional<std::vector<SqlRow>> Query(const std::string& sql,
                                                     const SqlRow& parameters) = 0;
    virtual std::string Error() const = 0;
};

}  // namespace kelvane
