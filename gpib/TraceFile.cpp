#include "gpib/TraceFile.h"

#include <cerrno>

#include "platform/files/AppendFile.h"
#include "platform/files/SystemFile.h"

namespace kelvane {

TraceFileOpen OpenTraceFile(const std::string& path) {
    errno = 0;
    TraceLog::File file = OpenForAppend(path);
    if (!file) return {nullptr, errno != 0 ? SystemFile::Reason(errno) : "cannot be opened"};
    return {std::move(file), {}};
}

}  // namespace kelvane
