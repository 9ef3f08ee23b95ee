#pragma once

struct sqlite3;

namespace kelvane {

// PostgreSQL's aggregate stddev_samp(x) for an SQLite connection, so that one history query
// serves both databases: the sample standard deviation of the non-NULL values, NULL below two.
// It is computed in one pass by Welford's update, which stays exact where the values are large
// and their spread small (a carrier's frequency of 2e9 Hz spread by 500 Hz), where a sum of
// squares loses every digit of the spread.
class SampleDeviation {
public:
    // False when SQLite refused the function.
    static bool Register(sqlite3* database);
};

}  // namespace kelvane
