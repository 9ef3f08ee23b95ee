#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "analyzer/AnalyzerAddress.h"
#include "analyzer/GpibBinding.h"
#include "analyzer/ReplyRead.h"

namespace kelvane {

// The analyzer on the bus, at the address each session is opened with (board 0, primary address 8
// unless the set-up says otherwise): 10 s per transfer, EOI on the last byte of each write, no
// end-of-string character. One instance serves the whole program; each measurement opens it,
// talks through it and closes it again.
class AnalyzerSession {
public:
    static constexpr std::int16_t kSecondaryAddress = 0;
    static constexpr std::int16_t kTimeoutCode = 13;  // 10 s
    static constexpr std::int16_t kEoiMode = 1;
    static constexpr std::int16_t kEosMode = 0;

    explicit AnalyzerSession(GpibBinding& binding) : binding_(binding) {}

    // The first failure of the bus in this session: ibdev that flagged ERR or gave a negative
    // descriptor, or a write that was not accepted. Once there is one, the session sends and
    // reads nothing more until it is opened again; a measurement never talks into a dead bus.
    struct BusFault {
        std::string operation;   // "ibdev", or the command text that was not accepted
        std::int32_t error = 0;  // the driver's error code (iberr)
        std::string detail;      // the driver's own words on it, if any
    };

    // A read that timed out: the analyzer has stopped answering.
    struct TimedOutRead {
        std::string query;  // the command written last before the read
        ReplyRead read;
    };

    // How long one transfer may take, as kTimeoutCode says.
    static constexpr int kTransferTimeoutSeconds = 10;

    // Calls ibdev with the analyzer's address and keeps the descriptor for the session's calls.
    void OpenAnalyzer(const AnalyzerAddress& address = {});
    // One write of the text.
    void SendCommand(const std::string& text);
    // One read of at most buffer.size() bytes into the start of buffer; the rest of the buffer
    // keeps what it held. Returns how many bytes arrived and how the read ended. Once a read of
    // the session has timed out, the analyzer has stopped answering: later reads of the session
    // are Skipped without a driver call, since each would only wait out the time-out again.
    ReplyRead ReadReply(std::string& buffer);
    // Takes the device offline (unless ibdev gave no descriptor), then the session's interface
    // board.
    void CloseAnalyzer();

    const std::optional<BusFault>& Fault() const { return fault_; }
    // The session's first read that timed out, if one has.
    const std::optional<TimedOutRead>& TimedOut() const { return timedOut_; }
    // ibdev failed with EDVR or ENEB: the bus itself could not be brought up (no GPIB board or
    // driver set up, an adapter that cannot be reached), so the analyzer was never reached.
    bool BusUnreachable() const;
    // BusUnreachable, and the driver had no words of its own on it: the PC's GPIB board or its
    // driver is not set up.
    bool BoardUnavailable() const;
    // Nothing at the analyzer's address took part in this session: its first write found no
    // listener (ENOL), or its first read timed out without a byte (switched off, wrong address).
    bool AnalyzerAbsent() const;

    // Where the current (or last) session was opened.
    const AnalyzerAddress& Address() const { return address_; }
    // The device descriptor of the current (or last) session; negative when ibdev gave none.
    std::int16_t Descriptor() const { return descriptor_; }

private:
    bool CallFailed() const;
    // Records the first failure of the bus in this session.
    void Fail(const std::string& operation);

    GpibBinding& binding_;
    AnalyzerAddress address_;
    std::int16_t descriptor_ = 0;
    std::optional<BusFault> fault_;
    std::optional<TimedOutRead> timedOut_;
    std::string lastCommand_;
    int writes_ = 0;
    int reads_ = 0;
    bool firstReadUnanswered_ = false;
};

// A reply buffer of n blanks, and one of n NUL characters.
std::string BlankBuffer(std::size_t n);
std::string NulBuffer(std::size_t n);

}  // namespace kelvane
