#pragma once

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "bus/AppendFile.h"
#include "bus/Clock.h"

namespace kelvane {

// The bus trace: lines appended to a file, each starting with the time in ms since the log
// was made and written out at once, so the file is complete up to the last call even when
// the program is killed.
class TraceLog {
public:
    using File = FileHandle;

    // `clock` must outlive the log.
    TraceLog(File file, Clock& clock);

    void Line(const std::string& text);

private:
    File file_;
    Clock& clock_;
    std::chrono::nanoseconds start_;
};

}  // namespace kelvane
