#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

#include "tests/support/AdapterEmulator.h"

namespace kelvane::testing {

// An AdapterEmulator served on a real connection by a thread of its own: a TCP socket on
// 127.0.0.1 (an ephemeral port; a GPIB-ETHERNET adapter) or a pseudo-terminal (a GPIB-USB
// adapter's serial port). It serves one connection after the other until it is destroyed.
// The emulator and its analyzer may be looked at only after Stop().
class StandInAdapter {
public:
    enum class Transport { Tcp, Pty };

    StandInAdapter(AdapterEmulator& adapter, Transport transport);
    ~StandInAdapter();
    StandInAdapter(const StandInAdapter&) = delete;
    StandInAdapter& operator=(const StandInAdapter&) = delete;

    // "lan:127.0.0.1:PORT" or "usb:/dev/pts/N".
    std::string Bus() const;
    int Port() const { return port_; }
    const std::string& Device() const { return device_; }

    void Stop();

private:
    void ServeTcp();
    void ServePty();
    // Feeds what arrived and sends the answers; false when the connection is to be closed.
    bool Serve(int fd, const char* bytes, std::size_t count,
               std::chrono::steady_clock::time_point connectedAt);
    void Pause(std::chrono::milliseconds duration) const;

    AdapterEmulator& adapter_;
    Transport transport_;
    int listener_ = -1;  // TCP
    int master_ = -1;    // pty
    int port_ = 0;
    std::string device_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace kelvane::testing
