#pragma once

#include <chrono>
#include <functional>
#include <string>

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

// Asks `queuedBytes` (the bytes written but not yet sent; negative when the port cannot tell,
// e.g. after the device went away) every millisecond until it reports none, at most `limit`
// long. True when all was sent.
bool WaitUntilSent(const std::function<int()>& queuedBytes, std::chrono::nanoseconds limit);

}  // namespace kelvane
