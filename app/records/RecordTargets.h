#pragma once

#include <memory>
#include <string>
#include <vector>

#include "results/RecordTarget.h"

namespace kelvane {

// The record targets that --results names (it may be given more than once: every target gets
// every record), opened and checked before anything is sent. A results file (JSON Lines, or CSV
// by its name) that cannot be opened, a CSV under another header, a file named twice or also
// named by --trace are usage errors.
class RecordTargets {
public:
    // tracePath: the trace's file, which no target may share; empty: none.
    RecordTargets(const std::vector<std::string>& paths, const std::string& tracePath);

    // The usage error's line without "kelvane: " (the first target that could not be opened);
    // empty when all are open.
    const std::string& Error() const { return error_; }
    // The open targets, in the order named; they live as long as this object.
    std::vector<RecordTarget*> Targets() const;

private:
    void Open(const std::string& path, const std::string& tracePath);

    std::vector<std::unique_ptr<RecordTarget>> targets_;
    std::vector<std::string> paths_;
    std::string error_;
};

}  // namespace kelvane
