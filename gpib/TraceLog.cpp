#include "gpib/TraceLog.h"

#include <cerrno>
#include <cstring>
#include <utility>

namespace kelvane {

TraceLog::TraceLog(File file, Clock& clock, FailureReport reportFailure)
    : file_(std::move(file)),
      clock_(clock),
      start_(clock.Now()),
      reportFailure_(std::move(reportFailure)) {}

void TraceLog::Line(const std::string& text) {
    if (!failure_.empty()) return;
    const double ms = std::chrono::duration<double, std::milli>(clock_.Now() - start_).count();
    errno = 0;
    const bool written = std::fprintf(file_.get(), "%11.3f ms  %s\n", ms, text.c_str()) >= 0;
    const bool flushed = std::fflush(file_.get()) == 0;
    if (written && flushed) return;
    failure_ = errno != 0 ? std::strerror(errno) : "the file could not be written";
    if (reportFailure_) reportFailure_(failure_);
}

}  // namespace kelvane
