#ifdef _WIN32

#include <cerrno>
#include <string>

#include "platform/WindowsApi.h"
#include "platform/files/AppendFile.h"

namespace kelvane {

// fopen would take the name in the ANSI code page, which cannot spell every name.
FileHandle OpenForAppend(const std::string& utf8Path) {
    const std::wstring path = WideFromUtf8(utf8Path);
    if (path.empty()) {
        errno = EINVAL;
        return nullptr;
    }
    return FileHandle(_wfopen(path.c_str(), L"ab"));
}

}  // namespace kelvane

#endif
