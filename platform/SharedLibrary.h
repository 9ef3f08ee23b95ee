#pragma once

#include <memory>
#include <string>
#include <vector>

namespace kelvane {

// A driver library opened at run time: a shared object through dlopen, a DLL through
// LoadLibrary. The library stays loaded while this object lives.
class SharedLibrary {
public:
    // The type entries are handed out as; cast to the entry's own function type before a call.
    using Entry = void (*)();

    virtual ~SharedLibrary() = default;
    // nullptr when the library does not export `name`.
    virtual Entry Find(const char* name) const = 0;
};

struct SharedLibraryOpen {
    std::unique_ptr<SharedLibrary> library;
    std::string failure;  // when not opened: the system's reason, e.g. "file not found"
};

// Opens a library by file name (searched the system's way) or by path.
SharedLibraryOpen OpenSharedLibrary(const std::string& name);

// The GPIB driver libraries of this system, in the order they are tried.
std::vector<std::string> GpibLibraryNames();

}  // namespace kelvane
