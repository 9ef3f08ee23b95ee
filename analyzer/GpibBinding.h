#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "gpib/DriverLoad.h"
#include "gpib/GpibDriver.h"

namespace kelvane {

// The program's one binding to the GPIB driver. It brings the driver up and registers the
// driver's per-thread status variables on first use, and widens the 16-bit arguments to the
// driver's 32 bits. The registered variables tell how each call ended (LastStatus).
//
// When the registration fails, the binding shows its message through the injected presenter
// (a modal box in the window, standard error in batch mode) and throws GpibRegistrationFailure;
// no driver call follows.
class GpibBinding {
public:
    using MessagePresenter = std::function<void(const std::string& message)>;

    GpibBinding(DriverFactory factory, MessagePresenter presentMessage);

    // Low 16 bits of the driver's descriptor.
    std::int16_t ibdev(std::int16_t boardIndex, std::int16_t primaryAddress,
                       std::int16_t secondaryAddress, std::int16_t timeoutCode,
                       std::int16_t eoiMode, std::int16_t eosMode);
    void ibonl(std::int16_t descriptor, std::int16_t value);
    // Writes the text's bytes, byte count = its length; nothing is appended.
    void ibwrt(std::int16_t descriptor, const std::string& text);
    // Reads at most buffer.size() bytes into the start of buffer; the rest keeps what it held.
    void ibrd(std::int16_t descriptor, std::string& buffer);

    // The driver's own words on its last failed call; empty when it has none (or none is loaded).
    std::string FailureDetail() const;

    // The status variables registered with the driver, as its last call left them.
    struct DriverStatus {
        std::int32_t status = 0;     // ibsta
        std::int32_t error = 0;      // iberr, when status has ERR
        std::int32_t count = 0;      // ibcnt
        std::int32_t countLong = 0;  // ibcntl: the byte count of the last transfer

        bool Failed() const;  // ERR is set
    };
    const DriverStatus& LastStatus() const { return status_; }
    // The thread's status variables are registered with the driver.
    bool Registered() const { return registered_; }

private:
    void EnsureRegistered();
    [[noreturn]] void Fail(const std::string& message, bool unregister);

    DriverFactory factory_;
    MessagePresenter presentMessage_;
    std::unique_ptr<GpibDriver> driver_;
    DriverStatus status_;  // registered with the driver, which keeps it current
    bool registered_ = false;
    std::string failure_;  // the registration's message once it failed: no driver call after it
};

// Reads the two low bytes of a 32-bit value as a two's-complement 16-bit number.
std::int16_t Low16(std::int32_t value);

}  // namespace kelvane
