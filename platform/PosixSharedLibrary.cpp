#ifndef _WIN32

#include <dlfcn.h>

#include "platform/SharedLibrary.h"

namespace kelvane {

namespace {

class PosixSharedLibrary : public SharedLibrary {
public:
    explicit PosixSharedLibrary(void* handle) : handle_(handle) {}
    ~PosixSharedLibrary() override { dlclose(handle_); }
    PosixSharedLibrary(const PosixSharedLibrary&) = delete;
    PosixSharedLibrary& operator=(const PosixSharedLibrary&) = delete;

    Entry Find(const char* name) const override {
        return reinterpret_cast<Entry>(dlsym(handle_, name));
    }

private:
    void* handle_;  // from dlopen
};

}  // namespace

SharedLibraryOpen OpenSharedLibrary(const std::string& name) {
    void* handle = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();
        return {nullptr, reason != nullptr ? reason : "unknown reason"};
    }
    return {std::make_unique<PosixSharedLibrary>(handle), {}};
}

// linux-gpib first, then NI-488.2 for Linux.
std::vector<std::string> GpibLibraryNames() { return {"libgpib.so.0", "libgpibapi.so.0"}; }

}  // namespace kelvane

#endif
