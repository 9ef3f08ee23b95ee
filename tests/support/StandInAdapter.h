#pragma once

#include <atomic>
#include <chrono>
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
#ifndef _WIN32
    // A GPIB-USB adapter that takes the bytes slowly, on a pseudo-terminal: each time, it
    // pauses for `readPause`, then takes all there is. Until then what the program wrote since
    // the last time waits in the system's queue, where a flush of the port's output drops it.
    // (Linux moves a pseudo-terminal's bytes at once into a line buffer that a flush leaves
    // alone; a backlog that the stand-in writes through a terminal of its own, and drops when
    // it reads it, keeps that buffer full.) The program's bytes must not hold 0xFF, the
    // backlog's. As the stand-in keeps the terminal open, it sees the program's sessions as one
    // connection.
    StandInAdapter(AdapterEmulator& adapter, std::chrono::milliseconds readPause);
#endif
    ~StandInAdapter();
    StandInAdapter(const StandInAdapter&) = delete;
    StandInAdapter& operator=(const StandInAdapter&) = delete;

    // "lan:127.0.0.1:PORT" or "usb:/dev/pts/N".
    std::string Bus() const;
    int Port() const { return port_; }
    const std::string& Device() const { return device_; }

    void Stop();

private:
    void OpenPty();
    void ServeTcp();
    void ServePty();
    // What the pty holds now (a slow adapter: after its pause, all of it, without the backlog).
    std::string TakePtyInput();
    void LayBacklog();
    // Feeds what arrived and sends the answers; false when the connection is to be closed.
    bool Serve(int fd, const char* bytes, std::size_t count,
               std::chrono::steady_clock::time_point connectedAt);
    void Pause(std::chrono::milliseconds duration) const;

    AdapterEmulator& adapter_;
    Transport transport_;
    int listener_ = -1;  // TCP
    int master_ = -1;    // pty
    int backlog_ = -1;   // a slow adapter's own terminal, for the backlog
    std::chrono::milliseconds readPause_{0};
    int port_ = 0;
    std::string device_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace kelvane::testing
