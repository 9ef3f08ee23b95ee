#include "gpib/ObservedGpibDriver.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace kelvane {

std::int32_t ObservedGpibDriver::ibdev(std::int32_t boardIndex, std::int32_t primaryAddress,
                                       std::int32_t secondaryAddress, std::int32_t timeoutCode,
                                       std::int32_t eoiMode, std::int32_t eosMode) {
    observer_.OpeningDevice();
    return ForwardingDriver::ibdev(boardIndex, primaryAddress, secondaryAddress, timeoutCode,
                                   eoiMode, eosMode);
}

std::int32_t ObservedGpibDriver::ibonl(std::int32_t descriptor, std::int32_t value) {
    observer_.TakingOffline();
    return ForwardingDriver::ibonl(descriptor, value);
}

std::int32_t ObservedGpibDriver::ibwrt(std::int32_t descriptor, const char* bytes,
                                       std::int32_t count) {
    observer_.Writing(std::string_view(bytes, static_cast<std::size_t>(std::max(count, 0))));
    return ForwardingDriver::ibwrt(descriptor, bytes, count);
}

std::int32_t ObservedGpibDriver::ibrd(std::int32_t descriptor, char* buffer, std::int32_t count) {
    observer_.Reading();
    return ForwardingDriver::ibrd(descriptor, buffer, count);
}

DriverFactory Observed(DriverFactory factory, GpibCallObserver& observer) {
    return [factory = std::move(factory), &observer] {
        DriverLoad load = factory ? factory() : DriverLoad{nullptr, "no GPIB driver is set up"};
        if (load.driver) {
            load.driver = std::make_unique<ObservedGpibDriver>(std::move(load.driver), observer);
        }
        return load;
    };
}

}  // namespace kelvane
