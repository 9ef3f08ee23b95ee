#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "results/MeasurementRecord.h"
#include "results/RecordFormats.h"
#include "results/ResultsFile.h"

namespace kelvane {

// The records of a program's measurements: each is appended to the results file (--results) as
// its measurement ends, and kept for "Save results as..." and the summary of repeated runs. Safe
// to read on one thread while another keeps records.
class RecordKeeper {
public:
    // `results` may be null; it must outlive the keeper. Without keepLogs the records are kept
    // without their log text (a long batch: the log is on standard output and in the file).
    explicit RecordKeeper(ResultsFile* results = nullptr, bool keepLogs = true)
        : results_(results), keepLogs_(keepLogs) {}

    // Keeps the record; returns why the results file could not take it, empty when it did (or
    // when there is no results file).
    std::string Keep(MeasurementRecord record);

    // A copy of every record kept, in the order they were kept.
    std::vector<MeasurementRecord> Records() const;
    // Every record kept, in the format, as a file of its own holds them (CSV with its header).
    std::string AllRecords(RecordFormat format) const;

private:
    ResultsFile* results_;
    bool keepLogs_;
    mutable std::mutex mutex_;  // guards records_
    std::vector<MeasurementRecord> records_;
};

}  // namespace kelvane
