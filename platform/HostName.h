#pragma once

#include <string>

namespace kelvane {

// This computer's name as the system gives it, in UTF-8 (gethostname on POSIX systems; on
// Windows GetComputerNameW, else the COMPUTERNAME variable); empty when it gives none.
std::string HostName();

}  // namespace kelvane
