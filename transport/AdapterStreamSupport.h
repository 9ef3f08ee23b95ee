#pragma once

namespace kelvane {

// Whether this build can reach a GPIB-ETHERNET or GPIB-USB adapter: its TCP and serial port
// streams exist for POSIX systems only so far.
#ifdef _WIN32
inline constexpr bool kAdapterStreamsAvailable = false;
#else
inline constexpr bool kAdapterStreamsAvailable = true;
#endif

}  // namespace kelvane
