#pragma once

namespace kelvane {

// Makes standard output pass bytes unchanged, as the log's CR LF line ends need: in text mode
// Windows would turn each of their LF into CR LF, giving CR CR LF. Call before any output.
// Nothing to do elsewhere.
void UseBinaryStandardOutput();

}  // namespace kelvane
