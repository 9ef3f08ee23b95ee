#pragma once

namespace kelvane {

// What the build for this operating system offers and needs.
#ifdef _WIN32
// The TCP and serial port streams to an adapter exist for POSIX systems only so far.
inline constexpr bool kAdapterStreamsAvailable = false;
// The Windows desktop is always there.
inline constexpr bool kWindowNeedsDisplayServer = false;
#else
inline constexpr bool kAdapterStreamsAvailable = true;
inline constexpr bool kWindowNeedsDisplayServer = true;
#endif

}  // namespace kelvane
