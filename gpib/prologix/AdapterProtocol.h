#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

// The command set of Prologix-protocol GPIB adapters (GPIB-ETHERNET, GPIB-USB and compatible
// ones): one line per command or data write, "++" lines for the adapter itself.

// Appended by the adapter after the byte that came with EOI (++eot_char). The analyzer's
// answers are ASCII text, at most with NUL fill; byte 4 (EOT) never occurs in them.
inline constexpr char kAdapterEndChar = '\x04';
// The longest read time-out the adapters accept (++read_tmo_ms).
inline constexpr std::chrono::milliseconds kAdapterLongestReadTimeout{3000};

// Which firmware answered "++ver": decides the commands it knows.
enum class AdapterKind { Ethernet, Usb };

// The line that sends `bytes` to the instrument: CR, LF, ESC and '+' each preceded by an ESC
// (else the adapter would end the line there or take it for its own command), ended by LF.
std::string AdapterDataLine(std::string_view bytes);

// The kind of adapter that gave this "++ver" answer (line end removed), if it is one.
std::optional<AdapterKind> RecogniseAdapter(std::string_view versionAnswer);

// The commands that set the adapter up for one session with the instrument at
// primaryAddress: controller, no read-after-write, EOI on the last byte written, nothing
// appended, the end character after EOI, the read time-out. The GPIB-USB firmware also gets
// "++savecfg 0" first, so these settings are not written to its EEPROM on every command.
std::vector<std::string> AdapterSetUp(AdapterKind kind, std::int32_t primaryAddress,
                                      std::chrono::milliseconds readTimeout);

}  // namespace kelvane
