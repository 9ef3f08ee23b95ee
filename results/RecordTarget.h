#pragma once

#include <string>

#include "results/MeasurementRecord.h"

namespace kelvane {

// A place that keeps every record as its measurement ends (--results, which may be given more
// than once): a results file, a station's database, the line's database behind its journal.
// Each target gets every record, whole or not at all.
class RecordTarget {
public:
    virtual ~RecordTarget() = default;

    // Keeps the record; returns the line that says why it could not, e.g. "cannot write the acp
    // record to the results file \"r.jsonl\": No space left on device"; empty when kept.
    virtual std::string Keep(const MeasurementRecord& record) = 0;
    // What the operator should know after the last record although nothing was lost, e.g. "3
    // records wait for postgresql://line@db/results"; empty when there is nothing to say.
    virtual std::string Notice() const { return {}; }
};

}  // namespace kelvane
