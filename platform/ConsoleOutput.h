#pragma once

namespace kelvane {

// Makes standard output pass bytes unchanged and report every failed write. Call before any
// output.
// - Windows: binary mode, as the log's CR LF line ends need: in text mode each of their LF
//   would turn into CR LF, giving CR CR LF.
// - POSIX: a write to a pipe whose reader has gone fails with EPIPE ("Broken pipe") instead of
//   ending the program by SIGPIPE between two bus calls, which would leave the analyzer half
//   set up. This holds for every file the program writes: the log, the usage, the trace.
void PrepareStandardOutput();

}  // namespace kelvane
