#include "store/sqlite/NetworkFileSystem.h"

#include <filesystem>

#ifdef __linux__
#include <sys/vfs.h>
#endif

namespace kelvane {

std::string NetworkFileSystemOf(const std::string& path) {
#ifdef __linux__
    std::filesystem::path where(path);
    std::error_code error;
    if (!std::filesystem::exists(where, error)) where = where.parent_path();
    if (where.empty()) where = ".";
    struct statfs about {};
    if (statfs(where.c_str(), &about) != 0) return {};
    // The magic numbers of linux/magic.h and the kernel's file systems.
    switch (static_cast<unsigned long>(about.f_type)) {
    case 0x6969UL:
        return "nfs";
    case 0x517BUL:
        return "smb";
    case 0xFF534D42UL:
        return "cifs";
    case 0xFE534D42UL:
        return "smb2";
    case 0x01021997UL:
        return "9p";
    case 0x00C36400UL:
        return "ceph";
    case 0x47504653UL:
        return "gpfs";
    }
#else
    (void)path;
#endif
    return {};
}

}  // namespace kelvane
