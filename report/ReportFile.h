#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/files/SystemFile.h"

namespace kelvane {

// The file that --report names, written whole or not at all: the page goes into a new file beside
// it under a temporary name (".<name>.<random>.part"), which takes the report's name only once
// every byte is in, replacing an older file of that name; on any failure the temporary file is
// removed and the file of that name, if any, stays as it was. Paths are UTF-8.
class ReportFile {
public:
    // Before the run, so that a report that could never be written is a usage error rather than
    // a surprise at the end: a name that is a folder, a device or a pipe, or that names a file the
    // run writes otherwise (`otherFiles`: the trace and the results files, which exist by then),
    // and a folder where no file can be made (missing, no permission, read-only). Empty when the
    // report can be written there; else the line, without "kelvane: ".
    static std::string Check(const std::string& path, const std::vector<std::string>& otherFiles);

    // Writes the page; empty on success, else the line with the system's reason, e.g.
    // "cannot write the report \"r.html\": No space left on device; the report was
    // not written".
    // `write` writes the bytes; tests give one that stops short.
    static std::string Write(const std::string& path, std::string_view page,
                             const FileWrite& write = WriteToFile);
};

}  // namespace kelvane
