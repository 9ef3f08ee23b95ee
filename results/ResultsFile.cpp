#include "results/ResultsFile.h"

#include <cerrno>
#include <utility>

namespace kelvane {

namespace {

std::string Reason(const char* fallback) {
    return errno != 0 ? SystemFile::Reason(errno) : fallback;
}

}  // namespace

ResultsFile::ResultsFile(const std::string& path, FileWrite write)
    : path_(path), format_(RecordFormatFor(path)), write_(std::move(write)) {
    if (!write_) write_ = WriteToFile;
    errno = 0;
    file_ = SystemFile::OpenForAppend(path);
    if (!file_.IsOpen()) {
        failure_ = Reason("cannot be opened");
        return;
    }
    const bool csv = format_ == RecordFormat::Csv;
    headerDue_ = csv && !file_.IsRegular();
    if (csv && file_.IsRegular() && !HasKelvaneHeader()) {
        // Rows under another header would be read wrongly, by Kelvane's columns or by theirs.
        otherHeader_ = true;
        failure_ = "it has another header than Kelvane writes";
        file_.Close();
    }
}

bool ResultsFile::HasKelvaneHeader() {
    const std::string header = CsvHeader();
    const bool locked = file_.Lock();  // not while another Kelvane is writing the header
    const std::optional<std::uint64_t> size = file_.Size();
    const std::optional<std::string> start =
        size && *size > 0 ? file_.ReadAt(0, header.size()) : header;
    if (locked) file_.Unlock();
    return !start || *start == header;  // a file that may not be read is taken as it is
}

bool ResultsFile::Write(const MeasurementRecord& record) {
    if (!file_.IsOpen()) return false;
    const std::string recordText = RecordText(record, format_);
    // Held from the look at the file's end to the last byte of the record, or its removal.
    const bool locked = file_.Lock();
    const std::optional<std::uint64_t> size = file_.Size();
    const std::string text = Lead(size) + recordText;
    errno = 0;
    const std::size_t written = write_(file_, text);
    const bool whole = written == text.size();
    if (whole) {
        headerDue_ = false;
    } else {
        failure_ = Reason("the file could not be written");
        // A pipe or a device keeps what went through; a file loses it again.
        if (size && file_.Truncate(*size)) {
            failure_ += "; nothing of it was left in the file";
        } else if (size) {
            failure_ += "; " + std::to_string(written) +
                        " bytes of it stay in the file: " + Reason("they could not be cut off");
        }
    }
    if (locked) file_.Unlock();
    return whole;
}

std::string ResultsFile::Lead(const std::optional<std::uint64_t>& size) const {
    if (!size) return headerDue_ ? CsvHeader() : std::string();
    if (*size == 0) return format_ == RecordFormat::Csv ? CsvHeader() : std::string();
    const std::optional<std::string> last = file_.ReadAt(*size - 1, 1);
    if (!last || last->empty() || *last == "\n") return {};
    // A line cut off (by another program, or a record that could not be cut off again) ends
    // before the record starts; a CR waits only for its LF.
    if (*last == "\r") return "\n";
    return format_ == RecordFormat::Csv ? "\r\n" : "\n";
}

std::string ResultsFile::Keep(const MeasurementRecord& record) {
    if (Write(record)) return {};
    return "cannot write the " + record.measurement + " record to the results file \"" + path_ +
           "\": " + failure_;
}

}  // namespace kelvane
