#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gpib/DriverLoad.h"
#include "gpib/GpibDriver.h"
#include "gpib/RegisteredStatus.h"
#include "platform/SharedLibrary.h"

namespace kelvane {

// The GPIB library installed on the system, opened at run time (GpibLibraryNames): on Linux
// linux-gpib's "libgpib.so.0", else NI-488.2's "libgpibapi.so.0"; on 64-bit Windows
// "gpib-32.dll", else "ni4882.dll".
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
    SystemGpibDriver(Key, std::unique_ptr<SharedLibrary> library);

    // Tries the libraries in order; the failure names every library that could not be opened,
    // with the system's reason, and the entries a library lacks.
    static DriverLoad Load(const std::vector<std::string>& libraryNames = GpibLibraryNames());

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
    // The library's C entries as documented: int arguments and a long byte count, which is
    // 32 bits on 64-bit Windows and 64 bits on Linux. The registration's fourth variable,
    // documented as a long, is passed as an int: the same 32 bits on 64-bit Windows, whose
    // drivers export the registration entries. 64-bit Windows has one calling convention, so
    // the entries' __stdcall needs no mention.
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

    std::unique_ptr<SharedLibrary> library_;
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
