#include "platform/HostName.h"

#ifdef _WIN32
#include <cstdlib>

#include "platform/WindowsApi.h"
#else
#include <unistd.h>

#include <array>
#endif

namespace kelvane {

#ifdef _WIN32

std::string HostName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    if (GetComputerNameW(name, &length) && length > 0) {
        const int size = static_cast<int>(length);
        const int bytes = WideCharToMultiByte(CP_UTF8, 0, name, size, nullptr, 0, nullptr, nullptr);
        if (bytes > 0) {
            std::string utf8(static_cast<std::size_t>(bytes), '\0');
            WideCharToMultiByte(CP_UTF8, 0, name, size, utf8.data(), bytes, nullptr, nullptr);
            return utf8;
        }
    }
    const char* variable = std::getenv("COMPUTERNAME");
    return variable != nullptr ? variable : "";
}

#else

std::string HostName() {
    // POSIX leaves a truncated name without its NUL: the last byte stays one.
    std::array<char, 256> name{};
    if (gethostname(name.data(), name.size() - 1) != 0) return {};
    return name.data();
}

#endif

}  // namespace kelvane
