#pragma once

#include <string>

#include "store/history/History.h"

namespace kelvane {

// The history as --history prints it: plain text in aligned columns, or CSV (RFC 4180, CR LF).
class HistoryReport {
public:
    // source: the database as shown ("station.sqlite", "postgresql://line@db/results").
    HistoryReport(const History& history, std::string source, History::Filter filter)
        : history_(history), source_(std::move(source)), filter_(std::move(filter)) {}

    // A heading line, then per measurement (and station) a line of counts and a table of its
    // values: 6 significant digits, Cpk with 2 decimals, "-" where there is nothing to show.
    std::string Text() const;
    // The header "measurement,station,name,runs,duts,pass,fail,incomplete,first_pass_duts,
    // first_run_duts,first_pass_yield,unit,count,min,mean,max,std_dev,worst_margin,cpk"; a row
    // per section with its counts (name empty) and one per value (counts empty), numbers in full.
    std::string Csv() const;

private:
    const History& history_;
    std::string source_;
    History::Filter filter_;
};

}  // namespace kelvane
