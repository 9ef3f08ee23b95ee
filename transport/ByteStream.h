#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace kelvane {

// A connection that carries bytes both ways: a TCP socket or a serial port. Every wait is
// bounded by the caller's time-out, so a silent or vanished peer never blocks for longer.
class ByteStream {
public:
    enum class Result {
        Done,      // all bytes sent, or at least one byte received
        TimedOut,  // nothing could be sent or received within the time-out
        Failed,    // the connection is gone or broken; Failure() says why
    };

    virtual ~ByteStream() = default;

    // Sends all of `bytes` within `timeout`.
    virtual Result Send(std::string_view bytes, std::chrono::nanoseconds timeout) = 0;
    // Waits at most `timeout` (zero: only what has arrived already) and appends the bytes that
    // arrived to `received`.
    virtual Result Receive(std::string& received, std::chrono::nanoseconds timeout) = 0;
    // The system's reason for the last Failed, e.g. "Connection reset by peer".
    virtual std::string Failure() const = 0;
};

// The outcome of opening a stream: the stream, or why it could not be opened (which host,
// port or device, and the system's reason).
struct StreamOpen {
    std::unique_ptr<ByteStream> stream;
    std::string failure;
};

// Opens a fresh connection within the time-out.
using StreamOpener = std::function<StreamOpen(std::chrono::nanoseconds timeout)>;

}  // namespace kelvane
