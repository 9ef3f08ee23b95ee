#include "bus/TraceLog.h"

#include <utility>

namespace kelvane {

TraceLog::TraceLog(File file, Clock& clock)
    : file_(std::move(file)), clock_(clock), start_(clock.Now()) {}

void TraceLog::Line(const std::string& text) {
    const double ms = std::chrono::duration<double, std::milli>(clock_.Now() - start_).count();
    std::fprintf(file_.get(), "%11.3f ms  %s\n", ms, text.c_str());
    std::fflush(file_.get());
}

}  // namespace kelvane
