#ifndef _WIN32

#include "transport/FdStream.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <sys/socket.h>

namespace kelvane {

namespace {

// strerror_r comes in two variants: the GNU one may return a static text instead of filling
// the buffer, the POSIX one returns 0 on success.
[[maybe_unused]] std::string ReasonText(const char* result, const char* /*buffer*/, int) {
    return result;
}
[[maybe_unused]] std::string ReasonText(int result, const char* buffer, int error) {
    return result == 0 ? buffer : "error " + std::to_string(error);
}

}  // namespace

std::string SystemReason(int error) {
    char text[256] = {};
    return ReasonText(strerror_r(error, text, sizeof text), text, error);
}

FdStream::FdStream(int fd, bool socket) : fd_(fd), socket_(socket) {}

FdStream::~FdStream() { ::close(fd_); }

ByteStream::Result FdStream::Fail(const std::string& reason) {
    failure_ = reason;
    return Result::Failed;
}

ByteStream::Result FdStream::Wait(short events, std::chrono::nanoseconds timeout) {
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(timeout).count();
    pollfd entry{fd_, events, 0};
    for (;;) {
        const int ready = ::poll(&entry, 1, static_cast<int>(std::min<long long>(ms, 1 << 30)));
        if (ready > 0) return Result::Done;
        if (ready == 0) return Result::TimedOut;
        if (errno != EINTR) return Fail(SystemReason(errno));
    }
}

ByteStream::Result FdStream::Send(std::string_view bytes, std::chrono::nanoseconds timeout) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    while (!bytes.empty()) {
        const ssize_t sent = socket_ ? ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL)
                                     : ::write(fd_, bytes.data(), bytes.size());
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
            continue;
        }
        if (sent < 0 && errno == EINTR) continue;
        if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return Fail(SystemReason(errno));
        const auto left = until - std::chrono::steady_clock::now();
        if (left <= std::chrono::nanoseconds(0)) return Result::TimedOut;
        if (const Result ready = Wait(POLLOUT, left); ready != Result::Done) return ready;
    }
    return Result::Done;
}

ByteStream::Result FdStream::Receive(std::string& received, std::chrono::nanoseconds timeout) {
    // Without a wait, a socket's non-blocking read alone tells: one system call on the common
    // path. A serial port's read gives 0 both for no data and after a hang-up; poll tells.
    if (!socket_ || timeout > std::chrono::nanoseconds(0)) {
        if (const Result ready = Wait(POLLIN, timeout); ready != Result::Done) return ready;
    }
    char chunk[4096];
    for (;;) {
        const ssize_t got = ::read(fd_, chunk, sizeof chunk);
        if (got > 0) {
            received.append(chunk, static_cast<std::size_t>(got));
            return Result::Done;
        }
        if (got == 0) return Fail("the adapter closed the connection");
        if (errno == EINTR) continue;
        // poll saw the descriptor ready, but another reader or a spurious wake-up took it.
        if (errno == EAGAIN || errno == EWOULDBLOCK) return Result::TimedOut;
        // A serial port whose device went away reports EIO.
        return Fail(SystemReason(errno));
    }
}

}  // namespace kelvane

#endif
