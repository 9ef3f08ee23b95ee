#pragma once

#include <memory>
#include <string>
#include <vector>

#include "results/RecordTarget.h"

namespace kelvane {

// The record targets that --results names (it may be given more than once: every target gets
// every record), opened and checked before anything is sent: a results file (JSON Lines, or CSV
// by its name), a station's database (FILE.sqlite, FILE.db) or the line's database
// (postgresql://..., behind the journal; what waits in the journal is uploaded here, before the
// first measurement). A results file that cannot be opened, a CSV under another header, a file
// that is no SQLite database or holds a newer layout, a journal that cannot be opened, a file
// named twice or also named by --trace are usage errors; so is any database in a build without
// them.
class RecordTargets {
public:
    // tracePath: the trace's file, which no target may share; empty: none. journalPath: the
    // journal of the postgresql:// targets (--journal); empty: the default journal.
    RecordTargets(const std::vector<std::string>& paths, const std::string& tracePath,
                  const std::string& journalPath = {});

    // The usage error's line without "kelvane: " (the first target that could not be opened);
    // empty when all are open.
    const std::string& Error() const { return error_; }
    // The open targets, in the order named; they live as long as this object.
    std::vector<RecordTarget*> Targets() const;

private:
    void Open(const std::string& path, const std::string& tracePath);
    // A database target, or the usage error's line.
    std::unique_ptr<RecordTarget> OpenDatabase(const std::string& path);

    std::vector<std::unique_ptr<RecordTarget>> targets_;
    std::vector<std::string> paths_;
    std::string journalPath_;
    std::string error_;
};

}  // namespace kelvane
