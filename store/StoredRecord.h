#pragma once

#include <string>
#include <vector>

#include "results/MeasurementRecord.h"
#include "store/SqlValue.h"

namespace kelvane {

// A record as the database tables hold it (StoreLayout): its run's row, its own row and one row
// per judged value, each field in the order of the table's columns. Text is valid UTF-8 without
// NUL bytes (what the databases accept; anything else becomes U+FFFD, as in the JSON Lines);
// a number that is not finite is NULL.
struct StoredRecord {
    std::string recordId;
    std::string runId;
    SqlRow run;
    SqlRow record;
    std::vector<SqlRow> values;

    // The record's rows; the run's row names the record's origin, set-up and start.
    static StoredRecord Of(const MeasurementRecord& record);
};

}  // namespace kelvane
