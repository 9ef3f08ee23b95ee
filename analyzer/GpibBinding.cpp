#include "analyzer/GpibBinding.h"

#include <utility>

#include "analyzer/GpibRegistrationFailure.h"
#include "gpib/GpibCodes.h"

namespace kelvane {

namespace {

constexpr const char* kNotMultiThreaded =
    "Operating System is not multi-threaded. Quitting the Program!";
constexpr const char* kUnableToRegister =
    "Unable to register GPIB thread globals. Quitting the Program!";
constexpr const char* kUnknownError =
    "Unknown Error for Registering GPIB Globals!!! Quitting the Program!";

}  // namespace

std::int16_t Low16(std::int32_t value) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint32_t>(value)));
}

GpibBinding::GpibBinding(DriverFactory factory, MessagePresenter presentMessage)
    : factory_(std::move(factory)), presentMessage_(std::move(presentMessage)) {}

void GpibBinding::Fail(const std::string& message, bool unregister) {
    failure_ = message;
    if (presentMessage_) presentMessage_(message);
    if (unregister && driver_) driver_->UnregisterGpibGlobalsForThread();
    throw GpibRegistrationFailure(message);
}

void GpibBinding::EnsureRegistered() {
    if (registered_) return;
    if (!failure_.empty()) throw GpibRegistrationFailure(failure_);
    if (!driver_) {
        DriverLoad load = factory_ ? factory_() : DriverLoad{nullptr, "no GPIB driver is set up"};
        if (!load.driver) {
            Fail(std::string(kUnableToRegister) + "\n" + load.failure, false);
        }
        driver_ = std::move(load.driver);
    }
    std::int32_t result = driver_->RegisterGpibGlobalsForThread(&status_.status, &status_.error,
                                                                &status_.count, &status_.countLong);
    if (result == 1) {
        // Registered already (by an earlier run on this thread): register afresh. The second
        // answer counts too; "registered already" once more is no registration at all.
        driver_->UnregisterGpibGlobalsForThread();
        result = driver_->RegisterGpibGlobalsForThread(&status_.status, &status_.error,
                                                       &status_.count, &status_.countLong);
        if (result == 1) result = -1;
    }
    switch (result) {
    case 0:
        break;
    case 2:
        Fail(kNotMultiThreaded, true);
    case 3:
        Fail(kUnableToRegister, true);
    default:
        Fail(kUnknownError, false);
    }
    registered_ = true;
}

bool GpibBinding::DriverStatus::Failed() const { return (status & kStatusErr) != 0; }

std::string GpibBinding::FailureDetail() const {
    return driver_ ? driver_->FailureDetail() : std::string();
}

std::int16_t GpibBinding::ibdev(std::int16_t boardIndex, std::int16_t primaryAddress,
                                std::int16_t secondaryAddress, std::int16_t timeoutCode,
                                std::int16_t eoiMode, std::int16_t eosMode) {
    EnsureRegistered();
    const std::int32_t descriptor =
        driver_->ibdev(boardIndex, primaryAddress, secondaryAddress, timeoutCode, eoiMode, eosMode);
    return Low16(descriptor);
}

void GpibBinding::ibonl(std::int16_t descriptor, std::int16_t value) {
    EnsureRegistered();
    driver_->ibonl(descriptor, value);
}

void GpibBinding::ibwrt(std::int16_t descriptor, const std::string& text) {
    EnsureRegistered();
    driver_->ibwrt(descriptor, text.data(), static_cast<std::int32_t>(text.size()));
}

void GpibBinding::ibrd(std::int16_t descriptor, std::string& buffer) {
    EnsureRegistered();
    // The whole buffer goes to the driver: the bytes that arrive overwrite its start, the rest
    // keeps what it held.
    driver_->ibrd(descriptor, buffer.data(), static_cast<std::int32_t>(buffer.size()));
}

}  // namespace kelvane
