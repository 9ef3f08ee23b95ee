#pragma once

#include <memory>

#include "gpib/DriverLoad.h"
#include "gpib/ForwardingDriver.h"
#include "gpib/GpibCallObserver.h"

namespace kelvane {

// Passes every call on to the driver unchanged and tells the observer about the transfers
// before they start. The registration calls pass through silently.
class ObservedGpibDriver : public ForwardingDriver {
public:
    // `observer` must outlive the driver.
    ObservedGpibDriver(std::unique_ptr<GpibDriver> driver, GpibCallObserver& observer)
        : ForwardingDriver(std::move(driver)), observer_(observer) {}

    std::int32_t ibdev(std::int32_t boardIndex, std::int32_t primaryAddress,
                       std::int32_t secondaryAddress, std::int32_t timeoutCode,
                       std::int32_t eoiMode, std::int32_t eosMode) override;
    std::int32_t ibonl(std::int32_t descriptor, std::int32_t value) override;
    std::int32_t ibwrt(std::int32_t descriptor, const char* bytes, std::int32_t count) override;
    std::int32_t ibrd(std::int32_t descriptor, char* buffer, std::int32_t count) override;

private:
    GpibCallObserver& observer_;
};

// A factory whose drivers are observed; a failed load passes through as it is.
DriverFactory Observed(DriverFactory factory, GpibCallObserver& observer);

}  // namespace kelvane
