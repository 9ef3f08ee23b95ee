#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

namespace kelvane {

// The analyzer's IEEE 488.2 status registers and its operation event register.
//
// Status byte: bit 4 (MAV) output waiting, bit 5 (ESB) an enabled event status bit is set,
// bit 6 (RQS) a bit enabled by "*SRE" is set, bit 7 an operation event enabled by "OPR n" has
// occurred. Operation events are scheduled with the time at which the operation will end; they
// latch only once the clock has reached that time, so a poll sees them no earlier.
class StatusModel {
public:
    using Nanoseconds = std::chrono::nanoseconds;

    // Event status register bits.
    static constexpr int kQueryError = 0x04;
    static constexpr int kDeviceError = 0x08;
    static constexpr int kExecutionError = 0x10;
    static constexpr int kCommandError = 0x20;

    // Operation events that "OPR n" can select.
    static constexpr int kChannelPowerAveraged = 16;
    static constexpr int kSweepAveraged = 256;

    void SetEvent(int bits) { eventStatus_ |= bits; }
    // "*ESR?": the register, then cleared.
    int ReadEventStatus();
    // "*CLS": clears the event status and every operation event that has happened by now;
    // operations still running will report their end later.
    void Clear(Nanoseconds now);

    void SetServiceRequestEnable(int mask) { serviceRequestEnable_ = mask & 0xBF; }
    int ServiceRequestEnable() const { return serviceRequestEnable_; }
    void SetEventStatusEnable(int mask) { eventStatusEnable_ = mask & 0xFF; }
    int EventStatusEnable() const { return eventStatusEnable_; }
    void SetOperationEnable(int mask) { operationEnable_ = mask; }

    // The operation with the given event bit will end at the given time; replaces an earlier
    // schedule of the same bit.
    void ScheduleOperationEnd(int eventBit, Nanoseconds at);
    void CancelOperationEnd(int eventBit);

    int StatusByte(Nanoseconds now, bool messageAvailable);

private:
    struct PendingEnd {
        int bit;
        Nanoseconds at;
    };
    void Latch(Nanoseconds now);

    int eventStatus_ = 0;
    // Error bits raise ESB from power-on so that the end wait notices failed commands.
    int eventStatusEnable_ = kQueryError | kDeviceError | kExecutionError | kCommandError;
    int serviceRequestEnable_ = 0;
    int operationEnable_ = 0;
    int operationEvents_ = 0;
    std::vector<PendingEnd> pending_;
};

}  // namespace kelvane
