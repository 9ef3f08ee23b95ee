#pragma once

#include <memory>

#include "gpib/DriverLoad.h"
#include "gpib/GpibCallObserver.h"
#include "gpib/GpibDriver.h"

namespace kelvane {

// Passes every call on to the driver unchanged and tells the observer about the transfers
// before they start. The registration calls pass through silently.
class ObservedGpibDriver : public GpibDriver {
public:
    // `observer` must outlive the driver.
    ObservedGpibDriver(std::unique_ptr<GpibDriver> driver, GpibCallObserver& observer)
        : driver_(std::move(driver)), observer_(observer) {}

    std::int32_t ibdev(std::int32_t boardIndex, std::int32_t primaryAddress,
                       std::int32_t secondaryAddress, std::int32_t timeoutCode,
                       std::int32_t eoiMode, std::int32_t eosMode) override;
    std::int32_t ibonl(std::int32_t descriptor, std::int32_t value) override;
    std::int32_t ibwrt(std::int32_t descriptor, const char* bytes, std::int32_t count) override;
    std::int32_t ibrd(std::int32_t descriptor, char* buffer, std::int32_t count) override;
    std::int32_t RegisterGpibGlobalsForThread(std::int32_t* status, std::int32_t* error,
                                              std::int32_t* count,
                                              std::int32_t* countLong) override;
    std::int32_t UnregisterGpibGlobalsForThread() override;
    std::string FailureDetail() const override { return driver_->FailureDetail(); }

private:
    std::unique_ptr<GpibDriver> driver_;
    GpibCallObserver& observer_;
};

// A factory whose drivers are observed; a failed load passes through as it is.
DriverFactory Observed(DriverFactory factory, GpibCallObserver& observer);

}  // namespace kelvane
