#pragma once

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "results/MeasurementRecord.h"
#include "results/RecordFormats.h"
#include "results/RecordTarget.h"

namespace kelvane {

// The records of a program's measurements: each goes to every record target (--results) as its
// measurement ends, and is kept for "Save results as...", the report and the summary of repeated
// runs. Safe to read on one thread while another keeps records.
class RecordKeeper {
public:
    // The targets must outlive the keeper. Without keepLogs the records are kept without their
    // log text (a long batch: the log is on standard output and in the files).
    explicit RecordKeeper(std::vector<RecordTarget*> targets = {}, bool keepLogs = true)
        : targets_(std::move(targets)), keepLogs_(keepLogs) {}

    // Keeps the record; returns a line for each target that could not take it.
    std::vector<std::string> Keep(MeasurementRecord record);
    // What the targets have to say after the last record (RecordTarget::Notice).
    std::vector<std::string> Notices() const;

    // A copy of every record kept, in the order they were kept.
    std::vector<MeasurementRecord> Records() const;

private:
    std::vector<RecordTarget*> targets_;
    bool keepLogs_;
    mutable std::mutex mutex_;  // guards records_
    std::vector<MeasurementRecord> records_;
};

}  // namespace kelvane
