#include "gpib/ReportingDriver.h"

#include <algorithm>
#include <utility>

namespace kelvane {

ReportingDriver::ReportingDriver(std::unique_ptr<GpibDriver> inner)
    : ForwardingDriver(std::move(inner)) {}

std::int32_t ReportingDriver::Report(GpibCall call) {
    if (status_ != nullptr) call.status = GpibCall::Status{*status_, *error_, *countLong_};
    Called(call);
    return call.result;
}

std::int32_t ReportingDriver::ibdev(std::int32_t boardIndex, std::int32_t primaryAddress,
                                    std::int32_t secondaryAddress, std::int32_t timeoutCode,
                                    std::int32_t eoiMode, std::int32_t eosMode) {
    const std::int32_t result = ForwardingDriver::ibdev(
        boardIndex, primaryAddress, secondaryAddress, timeoutCode, eoiMode, eosMode);
    return Report({"ibdev",
                   {boardIndex, primaryAddress, secondaryAddress, timeoutCode, eoiMode, eosMode},
                   {},
                   result,
                   {}});
}

std::int32_t ReportingDriver::ibonl(std::int32_t descriptor, std::int32_t value) {
    return Report(
        {"ibonl", {descriptor, value}, {}, ForwardingDriver::ibonl(descriptor, value), {}});
}

std::int32_t ReportingDriver::ibwrt(std::int32_t descriptor, const char* bytes,
                                    std::int32_t count) {
    const std::int32_t result = ForwardingDriver::ibwrt(descriptor, bytes, count);
    return Report(
        {"ibwrt", {descriptor, count}, std::string(bytes, bytes + std::max(count, 0)), result, {}});
}

std::int32_t ReportingDriver::ibrd(std::int32_t descriptor, char* buffer, std::int32_t count) {
    const std::int32_t result = ForwardingDriver::ibrd(descriptor, buffer, count);
    // The bytes that arrived, as the byte count says; none while nothing is registered.
    const std::int32_t delivered = std::clamp(countLong_ != nullptr ? *countLong_ : 0, 0, count);
    return Report(
        {"ibrd", {descriptor, count}, std::string(buffer, buffer + delivered), result, {}});
}

std::int32_t ReportingDriver::RegisterGpibGlobalsForThread(std::int32_t* status,
                                                           std::int32_t* error, std::int32_t* count,
                                                           std::int32_t* countLong) {
    const std::int32_t result =
        ForwardingDriver::RegisterGpibGlobalsForThread(status, error, count, countLong);
    status_ = status;
    error_ = error;
    countLong_ = countLong;
    // The registration's own variables are not yet meaningful: it is reported by its result.
    GpibCall call{"RegisterGpibGlobalsForThread", {}, {}, result, {}};
    Called(call);
    return result;
}

std::int32_t ReportingDriver::UnregisterGpibGlobalsForThread() {
    GpibCall call{"UnregisterGpibGlobalsForThread",
                  {},
                  {},
                  ForwardingDriver::UnregisterGpibGlobalsForThread(),
                  {}};
    Called(call);
    return call.result;
}

}  // namespace kelvane
