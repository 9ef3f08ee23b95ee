#ifndef _WIN32

#include <fcntl.h>
#include <unistd.h>

#include "platform/files/AppendFile.h"

namespace kelvane {

// POSIX file names are bytes: the UTF-8 path is the name.
FileHandle OpenForAppend(const std::string& utf8Path) {
    // O_NONBLOCK for the open only: a named pipe that no program reads is ENXIO at once instead
    // of an open that waits for ever. The writes may wait again.
    const int descriptor =
        open(utf8Path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (descriptor < 0) return nullptr;
    const int flags = fcntl(descriptor, F_GETFL);
    if (flags >= 0) fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK);
    FileHandle file(fdopen(descriptor, "ab"));
    if (!file) close(descriptor);
    return file;
}

}  // namespace kelvane

#endif
