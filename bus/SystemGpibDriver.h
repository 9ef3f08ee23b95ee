#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "bus/DriverLoad.h"
#include "bus/GpibDriver.h"
#include "bus/RegisteredStatus.h"

namespace kelvane {

// The GPIB library installed on the system, loaded with dlopen: linux-gpib's "libgpib.so.0",
// else NI-488.2's "libgpibapi.so.0".
//
// A library that exports the per-thread registration entries keeps the registered status
// variables current itself. One that does not (linux-gpib) registers with result 0, and after
// each call the four variables are filled from ThreadIbsta, ThreadIberr, ThreadIbcnt and
// ThreadIbcntl.
class SystemGpibDriver : public GpibDriver {
public:
    // Made only by Load.
    class Key {
        friend class SystemGpibDriver;
        Key() = default;
    };
    // Takes over the dlopen handle.
    SystemGpibDriver(Key, void* library);

    // Tries the libraries in order; the failure names every library that could not be opened
    // and the entries a library lacks.
    static DriverLoad Load(const std::vector<std::string>& libraryNames = {"libgpib.so.0",
                                                                           "libgpibapi.so.0"});

    std::int32_t ibdev(std::int32_t boardIndex, std::int32_t primaryAddress,
                       std::int32_t secondaryAddress, std::int32_t timeoutCode,
                       std::int32_t eoiMode, std::int32_t eosMode) override;
    std::int32_t ibonl(std::int32_t descriptor, std::int32_t value) override;
    std::int32_t ibwrt(std::int32_t descriptor, const char* bytes, std::int32_t count) override;
    std::int32_t ibrd(std::int32_t descriptor, char* buffer, std::int32_t count) override;
    std::int32_t RegisterGpibGlobalsForThread(std::int32_t* status, std::int32_t* error,
                                              std::int32_t* count,
                                              std::int32_t* countLong) override;
    std::int32_t UnregisterGpibGlobalsForThread() override;

private:
    // The library's C entries.
    using IbdevFn = int (*)(int, int, int, int, int, int);
    using IbonlFn = int (*)(int, int);
    using IbwrtFn = int (*)(int, const void*, long);
    using IbrdFn = int (*)(int, void*, long);
    using ThreadIntFn = int (*)();
    using ThreadLongFn = long (*)();
    using RegisterFn = int (*)(int*, int*, int*, int*);
    using UnregisterFn = int (*)();

    // Copies the thread status into the registered variables when the library does not.
    void CopyThreadStatus();

    struct LibraryCloser {
        void operator()(void* library) const;
    };

    std::unique_ptr<void, LibraryCloser> library_;  // the dlopen handle
    IbdevFn ibdev_ = nullptr;
    IbonlFn ibonl_ = nullptr;
    IbwrtFn ibwrt_ = nullptr;
    IbrdFn ibrd_ = nullptr;
    ThreadIntFn threadIbsta_ = nullptr;
    ThreadIntFn threadIberr_ = nullptr;
    ThreadIntFn threadIbcnt_ = nullptr;
    ThreadLongFn threadIbcntl_ = nullptr;
    RegisterFn register_ = nullptr;
    UnregisterFn unregister_ = nullptr;
    RegisteredStatus registered_;
};

// The DriverFactory of the real bench.
DriverLoad LoadSystemGpibDriver();

}  // namespace kelvane
