#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace kelvane {

// Bits of the driver's status word (ibsta).
inline constexpr std::int32_t kStatusErr = 0x8000;   // the call failed; iberr says why
inline constexpr std::int32_t kStatusTimo = 0x4000;  // the call ended by its time-out
inline constexpr std::int32_t kStatusEnd = 0x2000;   // EOI or end-of-string seen
inline constexpr std::int32_t kStatusCmpl = 0x0100;  // I/O complete

// Driver error codes (iberr) that Kelvane names in its failure lines.
inline constexpr std::int32_t kErrorEdvr = 0;  // system error
inline constexpr std::int32_t kErrorEnol = 2;  // no listener on the bus
inline constexpr std::int32_t kErrorEarg = 4;  // invalid argument
inline constexpr std::int32_t kErrorEabo = 6;  // I/O aborted, usually a time-out
inline constexpr std::int32_t kErrorEneb = 7;  // no such board

// The device time-out of a time-out code (ibdev's tmo): 1 10 us, 2 30 us, 3 100 us ... 13 10 s
// ... 17 1000 s. Code 0 means no time-out; it is given as 1000 s, the longest, so that a silent
// device can never hang the program. nullopt for a code outside 0 to 17.
std::optional<std::chrono::nanoseconds> GpibTimeout(std::int32_t timeoutCode);

// "ENOL (2)" for a known code, "error 99" for an unknown one.
std::string GpibErrorName(std::int32_t errorCode);

}  // namespace kelvane
