#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "transport/ByteStream.h"

namespace kelvane {

// A TCP connection to host:port, made within the time-out. The failure names the host and
// port and gives the system's reason (name not resolved, refused, no answer).
StreamOpen OpenTcpStream(const std::string& host, std::uint16_t port,
                         std::chrono::nanoseconds timeout);

}  // namespace kelvane
