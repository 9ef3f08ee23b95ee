#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace kelvane {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Opens a file for appending in binary mode (bytes written as they are, no line-end
// translation), creating it when missing. The path is UTF-8 on every system; on Windows it is
// opened through the wide-character API so that any file name works. Never waits: a named pipe
// that no program reads fails at once (ENXIO). nullptr when it cannot be opened (errno tells
// why).
FileHandle OpenForAppend(const std::string& utf8Path);

}  // namespace kelvane
