#pragma once

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "platform/Clock.h"
#include "platform/files/AppendFile.h"

namespace kelvane {

// The bus trace: lines appended to a file, each starting with the time in ms since the log
// was made and written out at once, so the file is complete up to the last call even when
// the program is killed.
//
// A write that fails (a full disk, a pipe whose reader has gone) is reported once, with the
// system's reason; the lines after it are dropped, since a trace with a hole in it would
// mislead whoever reads it.
class TraceLog {
public:
    using File = FileHandle;
    // Called at the first failed write, on the thread that wrote.
    using FailureReport = std::function<void(const std::string& reason)>;

    // `clock` must outlive the log.
    TraceLog(File file, Clock& clock, FailureReport reportFailure = {});

    void Line(const std::string& text);

    // Why the trace could not be written; empty while every line has gone through.
    const std::string& Failure() const { return failure_; }

private:
    File file_;
    Clock& clock_;
    std::chrono::nanoseconds start_;
    FailureReport reportFailure_;
    std::string failure_;
};

}  // namespace kelvane
