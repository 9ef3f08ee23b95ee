#include "tests/support/RecordingDriver.h"

#include <algorithm>
#include <utility>

namespace kelvane::testing {

RecordingDriver::RecordingDriver(std::unique_ptr<GpibDriver> inner,
                                 std::function<void(const DriverCall&)> onCall)
    : ForwardingDriver(std::move(inner)), onCall_(std::move(onCall)) {}

std::int32_t RecordingDriver::ibdev(std::int32_t boardIndex, std::int32_t primaryAddress,
                                    std::int32_t secondaryAddress, std::int32_t timeoutCode,
                                    std::int32_t eoiMode, std::int32_t eosMode) {
    const std::int32_t result = ForwardingDriver::ibdev(
        boardIndex, primaryAddress, secondaryAddress, timeoutCode, eoiMode, eosMode);
    onCall_({"ibdev",
             {boardIndex, primaryAddress, secondaryAddress, timeoutCode, eoiMode, eosMode},
             {}});
    return result;
}

std::int32_t RecordingDriver::ibonl(std::int32_t descriptor, std::int32_t value) {
    const std::int32_t result = ForwardingDriver::ibonl(descriptor, value);
    onCall_({"ibonl", {descriptor, value}, {}});
    return result;
}

std::int32_t RecordingDriver::ibwrt(std::int32_t descriptor, const char* bytes,
                                    std::int32_t count) {
    const std::int32_t result = ForwardingDriver::ibwrt(descriptor, bytes, count);
    onCall_({"ibwrt", {descriptor, count}, std::string(bytes, bytes + std::max(count, 0))});
    return result;
}

std::int32_t RecordingDriver::ibrd(std::int32_t descriptor, char* buffer, std::int32_t count) {
    const std::int32_t result = ForwardingDriver::ibrd(descriptor, buffer, count);
    const std::int32_t delivered = std::clamp(countLong_ != nullptr ? *countLong_ : 0, 0, count);
    onCall_({"ibrd", {descriptor, count}, std::string(buffer, buffer + delivered)});
    return result;
}

std::int32_t RecordingDriver::RegisterGpibGlobalsForThread(std::int32_t* status,
                                                           std::int32_t* error, std::int32_t* count,
                                                           std::int32_t* countLong) {
    countLong_ = countLong;
    const std::int32_t result =
        ForwardingDriver::RegisterGpibGlobalsForThread(status, error, count, countLong);
    onCall_({"RegisterGpibGlobalsForThread", {}, {}});
    return result;
}

std::int32_t RecordingDriver::UnregisterGpibGlobalsForThread() {
    const std::int32_t result = ForwardingDriver::UnregisterGpibGlobalsForThread();
    onCall_({"UnregisterGpibGlobalsForThread", {}, {}});
    return result;
}

}  // namespace kelvane::testing
