#pragma once

#include <string>

#include "gpib/TraceLog.h"

namespace kelvane {

// Opens `path` for appending; on failure the file is null and `failure` gives the system's
// reason. The one place where the trace file is opened.
struct TraceFileOpen {
    TraceLog::File file;
    std::string failure;
};
TraceFileOpen OpenTraceFile(const std::string& path);

}  // namespace kelvane
