#include "gpib/TraceFile.h"

#include <cerrno>

#include "platform/AppendFile.h"
#include "platform/SystemFile.h"

namespace kelvane {

TraceFileOpen OpenTraceFile(const std::string& path) {
    errno = 0;
    TraceLog::File file = OpenForAppend(path);
    if (!file) return {nullptr, errno != 0 ? SystemFile::Reason(errno) : "cannot be opened"};
    return {std::move(file), {}};
}

}  // namespace kelvane
