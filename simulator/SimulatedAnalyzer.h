#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>

#include "gpib/GpibDriver.h"
#include "gpib/RegisteredStatus.h"
#include "platform/Clock.h"
#include "simulator/SimulatedBench.h"
#include "simulator/SimulatorOptions.h"
#include "simulator/instrument/InstrumentState.h"

namespace kelvane {

class AnalyzerCore;

// A GPIB driver with a simulated spectrum analyzer on its bus, for running Kelvane without the
// hardware. The analyzer listens at the bench's board and primary address (board 0, address 8 by
// default); a device opened at any other address has no listener, so its writes and reads fail
// with ERR and ENOL, and a board the bench does not have fails ibdev with ENEB. Every reply ends
// with EOI only, no CR or LF.
//
// Time comes from the injected clock: a read waits (sleeps on the clock) until the analyzer has
// its answer, e.g. until the sweep that "TS" started is done, and gives up after the device's
// time-out with ERR, TIMO and EABO, as when nothing was asked. With a virtual clock a whole
// measurement runs in microseconds; with the steady clock it takes the analyzer's real time.
class SimulatedAnalyzer : public GpibDriver {
public:
    // bench: where the analyzer listens and the transmitters' carriers; when given, it is read
    // again at every ibdev, on the calling thread, so that the bench can change between
    // sessions. It must outlive the driver.
    SimulatedAnalyzer(Clock& clock, std::uint32_t seed = 1, const SimulatorOptions& options = {},
                      const SimulatedBench* bench = nullptr);
    ~SimulatedAnalyzer() override;

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

    // The analyzer's settings, for tests.
    const InstrumentState& State() const;

private:
    struct Device {
        std::int32_t primaryAddress = 0;
        std::chrono::nanoseconds timeout{0};
    };

    // The open device of a descriptor; on failure sets the status and gives nullptr.
    const Device* Find(std::int32_t descriptor);
    std::int32_t Finish(std::int32_t status, std::int32_t error, std::int32_t count);
    std::int32_t TimedOut(const Device& device);

    Clock& clock_;
    const SimulatedBench* follow_;
    SimulatedBench bench_;  // as the analyzer was last set up
    std::unique_ptr<AnalyzerCore> core_;
    std::map<std::int32_t, Device> devices_;
    RegisteredStatus registered_;
};

}  // namespace kelvane
