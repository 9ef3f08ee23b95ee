#pragma once

namespace kelvane {

// The program's exit statuses.
// Every measurement completed with good replies.
inline constexpr int kExitCompleted = 0;
// A measurement logged a failure line or a warning, or its verdict is incomplete.
inline constexpr int kExitMeasurementProblem = 1;
// Bad command line, or no display for the window.
inline constexpr int kExitUsage = 2;
// The GPIB driver could not be loaded or registered.
inline constexpr int kExitRegistrationFailure = 3;
// The log (or the usage, or the version, a record, a chart, the trace) could not be written.
inline constexpr int kExitLogUnwritable = 4;
// A measurement's verdict is FAIL: a value is outside its limit.
inline constexpr int kExitLimitFailed = 5;
// Where several apply, the first of: 2 and 3 (before anything runs), 4, 5, 1, 0.

}  // namespace kelvane
