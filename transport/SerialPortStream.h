#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "platform/Clock.h"
#include "transport/ByteStream.h"

namespace kelvane {

// How long closing a serial port waits for the bytes written to it to leave: a session's last
// commands take tens of milliseconds even at 9600 baud; an adapter that stopped taking bytes is
// given up on.
inline constexpr std::chrono::seconds kSerialDrainLimit{3};

// The serial port `device` (e.g. /dev/ttyUSB0) opened raw: 8 data bits, no parity, one stop
// bit, no flow control. The baud rate does not matter to USB adapters; 115200 is set. Bytes
// that arrived before the open are dropped; bytes that an earlier session wrote are not, so
// the closing commands of one measurement reach the analyzer however soon the next one opens
// the port. Closing the stream waits, at most kSerialDrainLimit, until all that was written
// has left. The failure names the device and the system's reason (and, for a permission
// problem, the group that usually grants access).
StreamOpen OpenSerialPortStream(const std::string& device);

#ifndef _WIN32

// How a serial port finds out, when it closes, whether what was written has left.
struct SerialDrain {
    // The bytes written to the port's descriptor `fd` that have not left yet; negative when the
    // port cannot tell, e.g. after the device went away. Asked before the descriptor is closed.
    std::function<int(int fd)> queuedBytes;
    // Times the wait (at most kSerialDrainLimit) and its pauses of 1 ms between the questions.
    std::unique_ptr<Clock> clock;
};

// The system's output queue of the port (TIOCOUTQ) on the steady clock: what
// OpenSerialPortStream(device) waits on.
SerialDrain SystemSerialDrain();

// OpenSerialPortStream(device), closing with `drain`.
StreamOpen OpenSerialPortStream(const std::string& device, SerialDrain drain);

#endif

// Asks `queuedBytes` (the bytes written but not yet sent; negative when the port cannot tell)
// every millisecond of `clock` until it reports none, at most `limit` long. True when all was
// sent.
bool WaitUntilSent(const std::function<int()>& queuedBytes, Clock& clock,
                   std::chrono::nanoseconds limit);

}  // namespace kelvane
