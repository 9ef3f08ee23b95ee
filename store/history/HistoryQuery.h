#pragma once

#include <optional>
#include <string>

#include "store/TextQuery.h"
#include "store/history/History.h"

namespace kelvane {

// Reads the history out of Kelvane's tables (StoreLayout) in SQLite or PostgreSQL: the counts,
// the first runs and the values' sums and spreads are computed by the database (three queries, each
// one pass over the records selected, through the indexes); what is left here is per group.
class HistoryQuery {
public:
    explicit HistoryQuery(History::Filter filter) : filter_(std::move(filter)) {}

    // The history; nullopt when a query failed (database.Error() says why).
    std::optional<History> Run(TextQuery& database) const;

private:
    // " WHERE ..." over the records' columns with the filter's parameters, the column names
    // prefixed with `table` ("r.") where given; the parameters are appended.
    std::string Where(const std::string& table, SqlRow& parameters,
                      const std::string& also = {}) const;
    // The station's column for a section, or '' when the history is not by station.
    std::string StationColumn(const std::string& table) const;

    History::Filter filter_;
};

}  // namespace kelvane
