#include "tests/support/StandInAdapter.h"

#ifndef _WIN32

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

namespace kelvane::testing {

namespace {

using Steady = std::chrono::steady_clock;

// A slow adapter's backlog: more than a pseudo-terminal's line buffer holds (4096 bytes on
// Linux), of a byte the program never sends.
constexpr std::size_t kBacklogBytes = 4096 + 512;
constexpr char kBacklogByte = '\xff';

bool Readable(int fd, int timeoutMs, short* revents = nullptr) {
    pollfd entry{fd, POLLIN, 0};
    const bool ready = ::poll(&entry, 1, timeoutMs) > 0;
    if (revents != nullptr) *revents = ready ? entry.revents : 0;
    return ready;
}

}  // namespace

StandInAdapter::StandInAdapter(AdapterEmulator& adapter, Transport transport)
    : adapter_(adapter), transport_(transport) {
    if (transport_ == Transport::Tcp) {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (listener_ < 0 ||
            ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::listen(listener_, 4) != 0 ||
            ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            throw std::runtime_error("stand-in adapter: cannot listen on 127.0.0.1");
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { ServeTcp(); });
    } else {
        OpenPty();
        thread_ = std::thread([this] { ServePty(); });
    }
}

StandInAdapter::StandInAdapter(AdapterEmulator& adapter, std::chrono::milliseconds readPause)
    : adapter_(adapter), transport_(Transport::Pty), readPause_(readPause) {
    OpenPty();
    backlog_ = ::open(device_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (backlog_ < 0) throw std::runtime_error("stand-in adapter: cannot open " + device_);
    LayBacklog();
    thread_ = std::thread([this] { ServePty(); });
}

StandInAdapter::~StandInAdapter() {
    Stop();
    if (listener_ >= 0) ::close(listener_);
    if (backlog_ >= 0) ::close(backlog_);
    if (master_ >= 0) ::close(master_);
}

void StandInAdapter::OpenPty() {
    int slave = -1;
    char name[256] = {};
    termios raw{};
    ::cfmakeraw(&raw);
    if (::openpty(&master_, &slave, name, &raw, nullptr) != 0)
        throw std::runtime_error("stand-in adapter: cannot open a pseudo-terminal");
    ::close(slave);  // the driver opens it by its name
    device_ = name;
}

void StandInAdapter::Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

std::string StandInAdapter::Bus() const {
    return transport_ == Transport::Tcp ? "lan:127.0.0.1:" + std::to_string(port_)
                                        : "usb:" + device_;
}

void StandInAdapter::Pause(std::chrono::milliseconds duration) const {
    const auto until = Steady::now() + duration;
    while (!stop_ && Steady::now() < until)
        std::this_thread::sleep_for(
            std::min<Steady::duration>(until - Steady::now(), std::chrono::milliseconds(5)));
}

bool StandInAdapter::Serve(int fd, const char* bytes, std::size_t count,
                           Steady::time_point connectedAt) {
    const auto since =
        std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now() - connectedAt);
    for (const auto& output : adapter_.Feed(std::string_view(bytes, count), since)) {
        Pause(output.delay);
        if (output.close) return false;
        std::size_t sent = 0;
        while (sent < output.bytes.size()) {
            const ssize_t n = ::write(fd, output.bytes.data() + sent, output.bytes.size() - sent);
            if (n <= 0) return false;
            sent += static_cast<std::size_t>(n);
        }
    }
    return true;
}

void StandInAdapter::ServeTcp() {
    while (!stop_) {
        if (!Readable(listener_, 20)) continue;
        const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) continue;
        adapter_.Connect();
        const auto connectedAt = Steady::now();
        char chunk[4096];
        // What the program sent before Stop() is still served: Stop() must not race its last
        // writes.
        while (true) {
            if (!Readable(connection, 20)) {
                if (stop_) break;
                continue;
            }
            const ssize_t n = ::read(connection, chunk, sizeof chunk);
            if (n <= 0 || !Serve(connection, chunk, static_cast<std::size_t>(n), connectedAt))
                break;
        }
        ::close(connection);
    }
}

// Behind the bytes taken, so that what the program writes next waits in the system's queue.
// A full queue takes less; that only makes the adapter less slow.
void StandInAdapter::LayBacklog() {
    const std::string backlog(kBacklogBytes, kBacklogByte);
    std::size_t laid = 0;
    while (laid < backlog.size()) {
        const ssize_t n = ::write(backlog_, backlog.data() + laid, backlog.size() - laid);
        if (n <= 0) return;
        laid += static_cast<std::size_t>(n);
    }
}

std::string StandInAdapter::TakePtyInput() {
    char chunk[4096];
    std::string taken;
    if (backlog_ < 0) {
        const ssize_t n = ::read(master_, chunk, sizeof chunk);
        if (n > 0) taken.assign(chunk, static_cast<std::size_t>(n));
        return taken;
    }
    Pause(readPause_);
    short revents = POLLIN;
    // poll moves on what waits in the queue; the loop ends when nothing is left.
    while ((revents & POLLIN) != 0) {
        const ssize_t n = ::read(master_, chunk, sizeof chunk);
        if (n <= 0) break;
        taken.append(chunk, static_cast<std::size_t>(n));
        Readable(master_, 0, &revents);
    }
    std::erase(taken, kBacklogByte);
    // Laid before the answers go out: what the program writes after an answer comes behind it.
    if (!stop_) LayBacklog();
    return taken;
}

// The pty reports a hang-up while no one has the terminal open; an open is a new connection.
void StandInAdapter::ServePty() {
    bool open = false;
    auto connectedAt = Steady::now();
    while (true) {
        short revents = 0;
        Readable(master_, 20, &revents);
        if ((revents & POLLIN) == 0 && stop_) break;  // what was sent before Stop() is served
        if ((revents & POLLIN) != 0) {
            if (!open) {
                open = true;
                adapter_.Connect();
                connectedAt = Steady::now();
            }
            const std::string taken = TakePtyInput();
            if (!taken.empty()) Serve(master_, taken.data(), taken.size(), connectedAt);
            continue;
        }
        if ((revents & POLLHUP) != 0) {
            open = false;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
}

}  // namespace kelvane::testing

#endif
