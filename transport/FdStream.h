#pragma once
#ifndef _WIN32

#include <string>

#include "transport/ByteStream.h"

namespace kelvane {

// A ByteStream over a POSIX file descriptor in non-blocking mode (a connected socket or a
// serial port), waiting with poll. Owns the descriptor.
class FdStream : public ByteStream {
public:
    // socket: use send without SIGPIPE; otherwise write.
    FdStream(int fd, bool socket);
    ~FdStream() override;
    FdStream(const FdStream&) = delete;
    FdStream& operator=(const FdStream&) = delete;

    Result Send(std::string_view bytes, std::chrono::nanoseconds timeout) override;
    Result Receive(std::string& received, std::chrono::nanoseconds timeout) override;
    std::string Failure() const override { return failure_; }

protected:
    // For what a kind of descriptor needs before it is closed.
    int Descriptor() const { return fd_; }

private:
    Result Fail(const std::string& reason);
    // poll for `events` within the time-out; Done when ready.
    Result Wait(short events, std::chrono::nanoseconds timeout);

    int fd_;
    bool socket_;
    std::string failure_;
};

// The system's text for errno value `error`.
std::string SystemReason(int error);

}  // namespace kelvane

#endif
