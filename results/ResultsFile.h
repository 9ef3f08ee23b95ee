#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/files/SystemFile.h"
#include "results/RecordFormats.h"
#include "results/RecordTarget.h"

namespace kelvane {

// The file that --results names: each record is appended as its measurement ends, whole or not
// at all, and on its own line; an existing file is never truncated. The format follows the name
// (RecordFormatFor).
//
// Every append holds the file's exclusive lock, so that Kelvanes appending to one file at once
// neither mix their records nor both write a CSV header: the header goes in only when the file
// is empty under the lock. A record that could not be written whole is cut off again, back to
// the length the file had before it. A file whose last line has no line end gets one before the
// record. A pipe or a device gets the CSV header before its first record, and is never cut.
class ResultsFile : public RecordTarget {
public:
    // Opens `path` for appending (never waiting for a named pipe's reader); Failure() says why
    // when it cannot be opened. A CSV file that holds rows under another header than CsvHeader()
    // is refused (OtherHeader()) and closed at once: nothing is written into it.
    // `write` writes each record's bytes; tests give one that stops short.
    explicit ResultsFile(const std::string& path, FileWrite write = WriteToFile);

    bool IsOpen() const { return file_.IsOpen(); }
    const std::string& Path() const { return path_; }
    RecordFormat Format() const { return format_; }
    // The file was refused because its CSV header is not Kelvane's.
    bool OtherHeader() const { return otherHeader_; }

    // Appends the record; false (with Failure()) when it could not be written whole.
    bool Write(const MeasurementRecord& record);
    // Write, with the line that says which record and file and why it failed.
    std::string Keep(const MeasurementRecord& record) override;
    // Why the last open or write failed: the system's reason, and for a cut record whether
    // anything of it is left in the file.
    const std::string& Failure() const { return failure_; }

private:
    // What goes before the record in a file of `size` bytes (nothing: a pipe or a device).
    std::string Lead(const std::optional<std::uint64_t>& size) const;
    bool HasKelvaneHeader();

    std::string path_;
    RecordFormat format_;
    FileWrite write_;
    SystemFile file_;
    bool headerDue_ = false;  // a pipe's or device's CSV header, before the first record
    bool otherHeader_ = false;
    std::string failure_;
};

}  // namespace kelvane
