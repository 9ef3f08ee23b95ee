#ifdef _WIN32

#include <string>

#include "platform/SharedLibrary.h"
#include "platform/WindowsApi.h"

namespace kelvane {

namespace {

class WindowsSharedLibrary : public SharedLibrary {
public:
    explicit WindowsSharedLibrary(HMODULE module) : module_(module) {}
    ~WindowsSharedLibrary() override { FreeLibrary(module_); }
    WindowsSharedLibrary(const WindowsSharedLibrary&) = delete;
    WindowsSharedLibrary& operator=(const WindowsSharedLibrary&) = delete;

    Entry Find(const char* name) const override {
        return reinterpret_cast<Entry>(GetProcAddress(module_, name));
    }

private:
    HMODULE module_;
};

// The system's text for a Windows error code, without its trailing line end.
std::string ErrorText(DWORD code) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length > 0 ? std::string(text, length) : std::string();
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.'))
        message.pop_back();
    return (message.empty() ? "Windows error" : message) + " (error " + std::to_string(code) + ")";
}

}  // namespace

SharedLibraryOpen OpenSharedLibrary(const std::string& name) {
    // No "cannot find the DLL" box from the system: the caller reports the failure.
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = LoadLibraryA(name.c_str());
    const DWORD error = GetLastError();
    SetErrorMode(oldMode);
    if (module == nullptr) return {nullptr, ErrorText(error)};
    return {std::make_unique<WindowsSharedLibrary>(module), {}};
}

// The 32-bit-named driver DLL that 64-bit drivers install as well, then NI-488.2's own.
std::vector<std::string> GpibLibraryNames() { return {"gpib-32.dll", "ni4882.dll"}; }

}  // namespace kelvane

#endif
