#pragma once

namespace kelvane {

// The program's exit statuses.
// Every measurement completed with good replies.
inline constexpr int kExitCompleted = 0;
// A measurement logged a failure line or a warning.
inline constexpr int kExitMeasurementProblem = 1;
// Bad command line, or no display for the window.
inline constexpr int kExitUsage = 2;
// The GPIB driver could not be loaded or registered.
inline constexpr int kExitRegistrationFailure = 3;
// The log (or the usage, or the version) could not be written.
inline constexpr int kExitLogUnwritable = 4;

}  // namespace kelvane
