#include "bus/TraceFile.h"

#include <cerrno>
#include <cstring>

namespace kelvane {

TraceFileOpen OpenTraceFile(const std::string& path) {
    errno = 0;
    TraceLog::File file(std::fopen(path.c_str(), "a"));
    if (!file) return {nullptr, errno != 0 ? std::strerror(errno) : "cannot be opened"};
    return {std::move(file), {}};
}

}  // namespace kelvane
