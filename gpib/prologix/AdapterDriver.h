#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "gpib/GpibDriver.h"
#include "gpib/RegisteredStatus.h"
#include "gpib/prologix/AdapterLink.h"
#include "gpib/prologix/AdapterProtocol.h"
#include "platform/Clock.h"
#include "transport/ByteStream.h"

namespace kelvane {

// A GPIB driver that reaches the instrument through a Prologix-protocol adapter, GPIB-ETHERNET
// (TCP) or GPIB-USB (serial port), which needs no driver on the PC. The stream is opened at
// ibdev and closed when the board goes offline, so every session starts afresh.
//
// The status words are those of a system driver: CMPL on success, END on the read that
// delivers an answer's last byte (an answer longer than the read count is delivered over the
// following reads; a write drops what was not read), ERR with EDVR when the adapter cannot be
// reached or the connection is lost, ERR TIMO with EABO when the device time-out passed. After
// a lost connection every call fails with EDVR and nothing is sent until the next ibdev.
class AdapterDriver : public GpibDriver {
public:
    enum class NoticeKind {
        Problem,  // why a call failed: for the operator
        Detail,   // what the adapter said or what was dropped: for the bus trace
    };
    // Texts start with the bus name, e.g. "lan:192.0.2.7:1234: connection lost: ...".
    using Notice = std::function<void(NoticeKind kind, const std::string& text)>;

    static constexpr std::int32_t kDeviceDescriptor = 16;  // the first after the board numbers
    // How long an adapter may take to answer "++ver" after its port was opened: USB adapters
    // that reset when the port opens answer only after a second or two.
    static constexpr std::chrono::seconds kStartUpTime{3};

    // busName: how the operator named the bus ("lan:HOST:PORT", "usb:DEVICE"), for notices.
    AdapterDriver(std::string busName, StreamOpener opener, Clock& clock, Notice notice = {});

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
    // Why the last failed call failed, as the last Problem notice said it; empty before any.
    std::string FailureDetail() const override { return lastProblem_; }

private:
    // Opens the stream and sets the adapter up; empty on success, else the reason.
    std::string Connect(std::int32_t primaryAddress, std::chrono::nanoseconds timeout);
    std::string CheckAddress(std::int32_t primaryAddress, const std::string& versionAnswer,
                             AdapterLink::Deadline deadline);
    std::int32_t Finish(std::int32_t status, std::int32_t error, std::int32_t count);
    // Closes the stream after it failed; the call fails with EDVR.
    std::int32_t Lose(const std::string& what, std::int32_t count = 0);
    std::int32_t TimedOut(std::int32_t count);
    std::int32_t Deliver(char* buffer, std::int32_t count);
    void Tell(NoticeKind kind, const std::string& text);
    void TellDropped(const char* where);
    AdapterLink::Deadline DeadlineFromNow() const;

    std::string busName_;
    StreamOpener opener_;
    Clock& clock_;
    Notice notice_;
    RegisteredStatus registered_;
    std::unique_ptr<AdapterLink> link_;  // while a session is open and its stream alive
    std::chrono::nanoseconds timeout_{std::chrono::seconds(10)};  // per write and per read
    std::chrono::nanoseconds adapterReadTimeout_{kAdapterLongestReadTimeout};
    std::string answer_;  // the part of the last answer that no read has delivered yet
    std::string lastProblem_;
};

}  // namespace kelvane
