#pragma once

#include <string>

#include "bus/ByteStream.h"

namespace kelvane {

// The serial port `device` (e.g. /dev/ttyUSB0) opened raw: 8 data bits, no parity, one stop
// bit, no flow control. The baud rate does not matter to USB adapters; 115200 is set. The
// failure names the device and the system's reason (and, for a permission problem, the group
// that usually grants access).
StreamOpen OpenSerialPortStream(const std::string& device);

}  // namespace kelvane
