#include "gpib/prologix/AdapterProtocol.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>

namespace kelvane {

std::string AdapterDataLine(std::string_view bytes) {
    std::string line;
    line.reserve(bytes.size() + 8);
    for (char c : bytes) {
        if (c == '\r' || c == '\n' || c == '\x1b' || c == '+') line += '\x1b';
        line += c;
    }
    line += '\n';
    return line;
}

std::optional<AdapterKind> RecogniseAdapter(std::string_view versionAnswer) {
    std::string upper(versionAnswer);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    const bool printable = std::all_of(versionAnswer.begin(), versionAnswer.end(), [](char c) {
        return static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7f;
    });
    if (!printable || upper.find("VERSION") == std::string::npos) return std::nullopt;
    if (upper.find("GPIB-ETHERNET") != std::string::npos) return AdapterKind::Ethernet;
    if (upper.find("GPIB-USB") != std::string::npos) return AdapterKind::Usb;
    return std::nullopt;
}

std::vector<std::string> AdapterSetUp(AdapterKind kind, std::int32_t primaryAddress,
                                      std::chrono::milliseconds readTimeout) {
    std::vector<std::string> commands;
    if (kind == AdapterKind::Usb) commands.emplace_back("++savecfg 0");
    const auto timeoutMs =
        std::clamp<long long>(readTimeout.count(), 1, kAdapterLongestReadTimeout.count());
    const std::vector<std::string> session{
        "++mode 1",
        "++auto 0",
        "++addr " + std::to_string(primaryAddress),
        "++eoi 1",
        "++eos 3",
        "++eot_enable 1",
        "++eot_char " + std::to_string(static_cast<int>(kAdapterEndChar)),
        "++read_tmo_ms " + std::to_string(timeoutMs)};
    commands.insert(commands.end(), session.begin(), session.end());
    return commands;
}

}  // namespace kelvane
