#pragma once

#include <string>

#include "gpib/TraceLog.h"

namespace kelvane {

// Opens `path` for appending, without waiting for the reader of a named pipe; on failure the file
// is null and `failure` gives the system's reason (for a named pipe that no program reads, what
// to do). The one place where the trace file is opened.
struct TraceFileOpen {
    TraceLog::File file;
    std::string failure;
};
TraceFileOpen OpenTraceFile(const std::string& path);

}  // namespace kelvane
