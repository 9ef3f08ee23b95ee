#pragma once

#include <string>

#include "platform/AppendFile.h"
#include "results/RecordFormats.h"

namespace kelvane {

// The file that --results names: each record is appended as its measurement ends and flushed at
// once; an existing file is never truncated. The format follows the name (RecordFormatFor); a
// CSV file gets its header when it is new or empty.
class ResultsFile {
public:
    // Opens `path` for appending; Failure() says why when it cannot be opened.
    explicit ResultsFile(const std::string& path);

    bool IsOpen() const { return file_ != nullptr; }
    const std::string& Path() const { return path_; }
    RecordFormat Format() const { return format_; }

    // Appends the record; false (with Failure()) when it could not be written whole.
    bool Write(const MeasurementRecord& record);
    // Why the last open or write failed: the system's reason.
    const std::string& Failure() const { return failure_; }

private:
    bool Append(const std::string& text);

    std::string path_;
    RecordFormat format_;
    FileHandle file_;
    bool needsHeader_ = false;
    std::string failure_;
};

}  // namespace kelvane
