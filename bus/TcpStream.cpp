#ifndef _WIN32

#include "bus/TcpStream.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include "bus/FdStream.h"

namespace kelvane {

namespace {

// Connects one address within the time-out; returns the descriptor, or -1 with the reason.
int ConnectTo(const addrinfo& address, std::chrono::nanoseconds timeout, std::string& reason) {
    const int fd = ::socket(address.ai_family, address.ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK,
                            address.ai_protocol);
    if (fd < 0) {
        reason = SystemReason(errno);
        return -1;
    }
    int result = ::connect(fd, address.ai_addr, address.ai_addrlen);
    if (result != 0 && errno == EINPROGRESS) {
        pollfd entry{fd, POLLOUT, 0};
        const auto ms = std::chrono::ceil<std::chrono::milliseconds>(timeout).count();
        int ready;
        do {
            ready = ::poll(&entry, 1, static_cast<int>(ms));
        } while (ready < 0 && errno == EINTR);
        int error = 0;
        socklen_t length = sizeof error;
        if (ready == 0) {
            reason = "no answer within " +
                     std::to_string(std::chrono::ceil<std::chrono::seconds>(timeout).count()) +
                     " s";
        } else if (ready < 0) {
            reason = SystemReason(errno);
        } else if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) {
            reason = SystemReason(error != 0 ? error : errno);
        } else {
            result = 0;
        }
    } else if (result != 0) {
        reason = SystemReason(errno);
    }
    if (result != 0) {
        ::close(fd);
        return -1;
    }
    // Each command is one small write: send it at once.
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return fd;
}

}  // namespace

StreamOpen OpenTcpStream(const std::string& host, std::uint16_t port,
                         std::chrono::nanoseconds timeout) {
    const std::string where = host + " port " + std::to_string(port);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int lookup = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
    if (lookup != 0)
        return {nullptr, "cannot resolve the host name \"" + host + "\": " +
                             (lookup == EAI_SYSTEM ? SystemReason(errno)
                                                   : std::string(gai_strerror(lookup)))};
    const std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> addresses(found, freeaddrinfo);
    const auto until = std::chrono::steady_clock::now() + timeout;
    std::string reason = "no address";
    for (const addrinfo* address = found; address != nullptr; address = address->ai_next) {
        const auto left = until - std::chrono::steady_clock::now();
        if (left <= std::chrono::nanoseconds(0)) break;
        const int fd = ConnectTo(*address, left, reason);
        if (fd >= 0) return {std::make_unique<FdStream>(fd, true), {}};
    }
    return {nullptr, "cannot connect to " + where + ": " + reason};
}

}  // namespace kelvane

#endif
