#include "store/sqlite/SampleDeviation.h"

#include <sqlite3.h>

#include <cmath>

namespace kelvane {

namespace {

// The running count, mean and sum of squared deviations from it (Welford).
struct Running {
    sqlite3_int64 count;
    double mean;
    double squares;
};

void Step(sqlite3_context* context, int, sqlite3_value** arguments) {
    if (sqlite3_value_type(arguments[0]) == SQLITE_NULL) return;
    auto* running = static_cast<Running*>(sqlite3_aggregate_context(context, sizeof(Running)));
    if (running == nullptr) {
        sqlite3_result_error_nomem(context);
        return;
    }
    const double value = sqlite3_value_double(arguments[0]);
    ++running->count;
    const double delta = value - running->mean;
    running->mean += delta / static_cast<double>(running->count);
    running->squares += delta * (value - running->mean);
}

void Final(sqlite3_context* context) {
    // A zeroed context: no value was stepped.
    const auto* running = static_cast<Running*>(sqlite3_aggregate_context(context, 0));
    if (running == nullptr || running->count < 2) {
        sqlite3_result_null(context);
        return;
    }
    const double variance = running->squares / static_cast<double>(running->count - 1);
    sqlite3_result_double(context, std::sqrt(variance > 0 ? variance : 0.0));
}

}  // namespace

bool SampleDeviation::Register(sqlite3* database) {
    return sqlite3_create_function(database, "stddev_samp", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                   nullptr, nullptr, Step, Final) == SQLITE_OK;
}

}  // namespace kelvane
