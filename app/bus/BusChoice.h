#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kelvane {

// Where the analyzer is reached, as named by --bus or KELVANE_BUS:
//   gpib               the system's GPIB library (the default)
//   lan:HOST[:PORT]    a GPIB-ETHERNET adapter (port 1234 unless given; [v6 address] in brackets)
//   usb:DEVICE         a GPIB-USB adapter on a serial port, e.g. usb:/dev/ttyUSB0
struct BusChoice {
    enum class Kind { Gpib, Lan, Usb };
    static constexpr std::uint16_t kDefaultPort = 1234;

    Kind kind = Kind::Gpib;
    std::string host;                   // lan
    std::uint16_t port = kDefaultPort;  // lan
    std::string device;                 // usb
    std::string text = "gpib";          // as it was given, for the window caption

    // "lan:HOST:PORT" with the port always shown, "usb:DEVICE" or "gpib": for messages.
    std::string Name() const;
};

// nullopt for a value that is none of the forms above.
std::optional<BusChoice> ParseBus(const std::string& where);

// The accepted forms, for a usage error.
const char* BusForms();

}  // namespace kelvane
