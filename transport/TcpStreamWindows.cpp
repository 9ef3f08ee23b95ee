#ifdef _WIN32

#include "transport/TcpStream.h"

namespace kelvane {

// The Windows build has no socket stream yet.
StreamOpen OpenTcpStream(const std::string& host, std::uint16_t port,
                         std::chrono::nanoseconds /*timeout*/) {
    return {nullptr, "cannot connect to " + host + " port " + std::to_string(port) +
                         ": GPIB-ETHERNET adapters are not available in this build"};
}

}  // namespace kelvane

#endif
