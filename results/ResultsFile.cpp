#include "results/ResultsFile.h"

#include <cerrno>
#include <cstring>

namespace kelvane {

namespace {

std::string SystemReason(const char* fallback) {
    return errno != 0 ? std::strerror(errno) : fallback;
}

}  // namespace

ResultsFile::ResultsFile(const std::string& path) : path_(path), format_(RecordFormatFor(path)) {
    errno = 0;
    file_ = OpenForAppend(path);
    if (!file_) {
        failure_ = SystemReason("cannot be opened");
        return;
    }
    // Unbuffered: each record goes to the system in one write, and a write that failed leaves
    // nothing behind in a buffer to come out later in the middle of another record.
    std::setvbuf(file_.get(), nullptr, _IONBF, 0);
    // A file in append mode need not start at its end: seek there to tell its size. Where the
    // size cannot be told (a pipe), the file counts as new.
    const bool atEnd = std::fseek(file_.get(), 0, SEEK_END) == 0;
    needsHeader_ = format_ == RecordFormat::Csv && (!atEnd || std::ftell(file_.get()) <= 0);
}

bool ResultsFile::Write(const MeasurementRecord& record) {
    if (!file_) return false;
    std::string text = RecordText(record, format_);
    if (needsHeader_) text.insert(0, CsvHeader());
    if (!Append(text)) return false;
    needsHeader_ = false;
    return true;
}

bool ResultsFile::Append(const std::string& text) {
    std::FILE* file = file_.get();
    std::clearerr(file);  // each write is judged on its own
    errno = 0;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const int writeError = errno;
    const bool flushed = std::fflush(file) == 0;
    if (written && flushed) return true;
    if (!written && writeError != 0) errno = writeError;
    failure_ = SystemReason("the file could not be written");
    return false;
}

}  // namespace kelvane
