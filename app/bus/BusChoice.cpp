#include "app/bus/BusChoice.h"

#include <algorithm>
#include <cctype>

namespace kelvane {

namespace {

std::optional<std::uint16_t> ParsePort(const std::string& text) {
    if (text.empty() || text.size() > 5 ||
        !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); }))
        return std::nullopt;
    const int port = std::stoi(text);
    if (port < 1 || port > 65535) return std::nullopt;
    return static_cast<std::uint16_t>(port);
}

bool ParseLan(const std::string& address, BusChoice& bus) {
    std::string portText;
    if (address.starts_with("[")) {
        const auto close = address.find(']');
        if (close == std::string::npos) return false;
        bus.host = address.substr(1, close - 1);
        const std::string rest = address.substr(close + 1);
        if (!rest.empty()) {
            if (!rest.starts_with(":")) return false;
            portText = rest.substr(1);
            if (portText.empty()) return false;
        }
    } else if (std::count(address.begin(), address.end(), ':') > 1) {
        bus.host = address;  // a bare IPv6 address, no port
    } else {
        const auto colon = address.find(':');
        bus.host = address.substr(0, colon);
        if (colon != std::string::npos) {
            portText = address.substr(colon + 1);
            if (portText.empty()) return false;
        }
    }
    if (bus.host.empty() || std::any_of(bus.host.begin(), bus.host.end(), [](unsigned char c) {
            return std::isspace(c) || std::iscntrl(c);
        }))
        return false;
    if (portText.empty()) return true;
    const auto port = ParsePort(portText);
    if (!port) return false;
    bus.port = *port;
    return true;
}

}  // namespace

std::string BusChoice::Name() const {
    switch (kind) {
    case Kind::Gpib:
        return "gpib";
    case Kind::Lan:
        return "lan:" + (host.find(':') != std::string::npos ? "[" + host + "]" : host) + ":" +
               std::to_string(port);
    case Kind::Usb:
        return "usb:" + device;
    }
    return text;
}

std::optional<BusChoice> ParseBus(const std::string& where) {
    BusChoice bus;
    bus.text = where;
    if (where == "gpib") return bus;
    if (where.starts_with("lan:")) {
        bus.kind = BusChoice::Kind::Lan;
        if (!ParseLan(where.substr(4), bus)) return std::nullopt;
        return bus;
    }
    if (where.starts_with("usb:") && where.size() > 4) {
        bus.kind = BusChoice::Kind::Usb;
        bus.device = where.substr(4);
        return bus;
    }
    return std::nullopt;
}

const char* BusForms() {
    return "gpib, lan:HOST[:PORT] (a GPIB-ETHERNET adapter, port 1234 by default) or "
           "usb:DEVICE (a GPIB-USB adapter, e.g. usb:/dev/ttyUSB0)";
}

}  // namespace kelvane
