#pragma once

#include <chrono>
#include <deque>
#include <string>

#include "tests/support/AdapterEmulator.h"
#include "tests/support/VirtualClock.h"
#include "transport/ByteStream.h"

namespace kelvane::testing {

// A connection to an AdapterEmulator on a virtual clock: what the adapter sends arrives at its
// virtual time, and a wait for nothing moves the clock by the whole time-out, so the device
// time-outs of a driver pass in microseconds.
class EmulatedAdapterStream : public ByteStream {
public:
    EmulatedAdapterStream(AdapterEmulator& adapter, VirtualClock& clock);

    Result Send(std::string_view bytes, std::chrono::nanoseconds timeout) override;
    Result Receive(std::string& received, std::chrono::nanoseconds timeout) override;
    std::string Failure() const override { return "the adapter closed the connection"; }

    // An opener that connects afresh each time.
    static StreamOpener Opener(AdapterEmulator& adapter, VirtualClock& clock);

private:
    struct Arrival {
        std::chrono::nanoseconds at;
        std::string bytes;
        bool close;
    };

    AdapterEmulator& adapter_;
    VirtualClock& clock_;
    std::chrono::nanoseconds connectedAt_;
    std::chrono::nanoseconds busyUntil_{0};  // the adapter's last output
    std::deque<Arrival> arrivals_;
    bool closed_ = false;
};

}  // namespace kelvane::testing
