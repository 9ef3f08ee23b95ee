#ifndef _WIN32

#include "transport/TcpStream.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include "transport/FdStream.h"

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

// A name lookup that may outlive its caller: the system's resolver cannot be stopped, and
// one that waits for a silent DNS server would hold ibdev far beyond the device time-out.
struct Lookup {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool abandoned = false;  // the caller gave up: the helper frees what it found
    int result = 0;
    int systemError = 0;
    addrinfo* found = nullptr;
};

// Resolves host:port within the time-out; on success `found` is the caller's to free.
// Returns the reason otherwise.
std::string Resolve(const std::string& host, std::uint16_t port, std::chrono::nanoseconds timeout,
                    addrinfo*& found) {
    auto lookup = std::make_shared<Lookup>();
    try {
        std::thread([lookup, host, service = std::to_string(port)] {
            addrinfo hints{};
            hints.ai_family = AF_UNSPEC;
            hints.ai_socktype = SOCK_STREAM;
            addrinfo* addresses = nullptr;
            const int result = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &addresses);
            const int systemError = errno;
            const std::lock_guard<std::mutex> lock(lookup->mutex);
            if (lookup->abandoned) {
                if (addresses != nullptr) ::freeaddrinfo(addresses);
                return;
            }
            lookup->result = result;
            lookup->systemError = systemError;
            lookup->found = addresses;
            lookup->done = true;
            lookup->finished.notify_one();
        }).detach();
    } catch (const std::system_error& error) {
        return "cannot resolve the host name \"" + host + "\": " + error.what();
    }
    std::unique_lock<std::mutex> lock(lookup->mutex);
    if (!lookup->finished.wait_for(lock, timeout, [&] { return lookup->done; })) {
        lookup->abandoned = true;
        return "cannot resolve the host name \"" + host + "\" within " +
               std::to_string(std::chrono::ceil<std::chrono::seconds>(timeout).count()) + " s";
    }
    if (lookup->result != 0)
        return "cannot resolve the host name \"" + host + "\": " +
               (lookup->result == EAI_SYSTEM ? SystemReason(lookup->systemError)
                                             : std::string(gai_strerror(lookup->result)));
    found = lookup->found;
    return {};
}

}  // namespace

StreamOpen OpenTcpStream(const std::string& host, std::uint16_t port,
                         std::chrono::nanoseconds timeout) {
    const std::string where = host + " port " + std::to_string(port);
    const auto until = std::chrono::steady_clock::now() + timeout;
    addrinfo* found = nullptr;
    if (std::string failure = Resolve(host, port, timeout, found); !failure.empty())
        return {nullptr, std::move(failure)};
    const std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> addresses(found, freeaddrinfo);
    std::string reason = "no address";
    for (const addrinfo* address = found; address != nullptr; address = address->ai_next) {
        const auto left = until - std::chrono::steady_clock::now();
        if (left <= std::chrono::nanoseconds(0)) {
            reason = "no answer within " +
                     std::to_string(std::chrono::ceil<std::chrono::seconds>(timeout).count()) +
                     " s";
            break;
        }
        const int fd = ConnectTo(*address, left, reason);
        if (fd >= 0) return {std::make_unique<FdStream>(fd, true), {}};
    }
    return {nullptr, "cannot connect to " + where + ": " + reason};
}

}  // namespace kelvane

#endif
