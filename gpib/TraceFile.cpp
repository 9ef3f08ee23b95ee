#include "gpib/TraceFile.h"

#include <cerrno>
#include <cstring>

#include "platform/AppendFile.h"

namespace kelvane {

TraceFileOpen OpenTraceFile(const std::string& path) {
    errno = 0;
    TraceLog::File file = OpenForAppend(path);
    if (!file) return {nullptr, errno != 0 ? std::strerror(errno) : "cannot be opened"};
    return {std::move(file), {}};
}

}  // namespace kelvane
