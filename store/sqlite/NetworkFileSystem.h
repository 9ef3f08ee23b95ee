#pragma once

#include <string>

namespace kelvane {

// The kind of network file system that holds `path` (or the folder it would be made in): "nfs",
// "smb", "cifs", "9p", ...; empty on a local disk, and where the system cannot tell (Windows:
// not asked).
std::string NetworkFileSystemOf(const std::string& path);

}  // namespace kelvane
