#ifdef _WIN32

#include "transport/SerialPortStream.h"

namespace kelvane {

// The Windows build has no serial port stream yet.
StreamOpen OpenSerialPortStream(const std::string& device) {
    return {nullptr, "cannot open the serial port " + device +
                         ": GPIB-USB adapters are not available in this build"};
}

}  // namespace kelvane

#endif
