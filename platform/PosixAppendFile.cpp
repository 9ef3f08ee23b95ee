#ifndef _WIN32

#include "platform/AppendFile.h"

namespace kelvane {

// POSIX file names are bytes: the UTF-8 path is the name.
FileHandle OpenForAppend(const std::string& utf8Path) {
    return FileHandle(std::fopen(utf8Path.c_str(), "ab"));
}

}  // namespace kelvane

#endif
