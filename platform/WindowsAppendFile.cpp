#ifdef _WIN32

#include <cerrno>
#include <string>

#include "platform/AppendFile.h"
#include "platform/WindowsApi.h"

namespace kelvane {

namespace {

// UTF-16 for the wide-character API; empty when the bytes are not UTF-8.
std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int size = static_cast<int>(utf8.size());
    const int length =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, wide.data(), length);
    return wide;
}

}  // namespace

// fopen would take the name in the ANSI code page, which cannot spell every name.
FileHandle OpenForAppend(const std::string& utf8Path) {
    const std::wstring path = Wide(utf8Path);
    if (path.empty()) {
        errno = EINVAL;
        return nullptr;
    }
    return FileHandle(_wfopen(path.c_str(), L"ab"));
}

}  // namespace kelvane

#endif
