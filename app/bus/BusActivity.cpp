#include "app/bus/BusActivity.h"

namespace kelvane {

namespace {

// Longer commands are shortened in the middle; the status line has room for about 80
// characters.
std::string Quoted(std::string_view command) {
    constexpr std::size_t kMaxShown = 32;
    if (command.size() <= kMaxShown) return "\"" + std::string(command) + "\"";
    return "\"" + std::string(command.substr(0, kMaxShown - 8)) + "..." +
           std::string(command.substr(command.size() - 5)) + "\"";
}

bool IsWaitPoll(std::string_view command) {
    return command == MeasurementEndWait::kStatusQuery ||
           command == MeasurementEndWait::kEventStatusQuery;
}

}  // namespace

void BusActivity::OpeningDevice() {
    waiting_ = false;
    report_({"opening the analyzer", 0});
}

void BusActivity::Writing(std::string_view bytes) {
    lastWritten_ = std::string(bytes);
    if (bytes == MeasurementEndWait::kEnableEnd) {
        waiting_ = true;
        report_({"waiting for the end of the measurement", kWaitLimitSeconds});
        return;
    }
    if (waiting_ && IsWaitPoll(bytes)) return;
    waiting_ = false;
    report_({"sending " + Quoted(bytes), kTransferLimitSeconds});
}

void BusActivity::Reading() {
    if (waiting_) return;
    report_({"reading the answer to " + Quoted(lastWritten_), kTransferLimitSeconds});
}

void BusActivity::TakingOffline() {
    waiting_ = false;
    report_({"closing the session", 0});
}

}  // namespace kelvane
