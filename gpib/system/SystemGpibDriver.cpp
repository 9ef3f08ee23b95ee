#include "gpib/system/SystemGpibDriver.h"

#include <memory>
#include <utility>

namespace kelvane {

namespace {

template <typename Fn>
bool Resolve(const SharedLibrary& library, const char* name, Fn& entry, std::string& missing) {
    entry = reinterpret_cast<Fn>(library.Find(name));
    if (entry == nullptr) missing += missing.empty() ? name : std::string(", ") + name;
    return entry != nullptr;
}

}  // namespace

SystemGpibDriver::SystemGpibDriver(Key, std::unique_ptr<SharedLibrary> library)
    : library_(std::move(library)) {}

DriverLoad SystemGpibDriver::Load(const std::vector<std::string>& libraryNames) {
    std::string failures;
    for (const auto& name : libraryNames) {
        SharedLibraryOpen open = OpenSharedLibrary(name);
        if (!open.library) {
            failures += (failures.empty() ? "" : "; ") + std::string("cannot open ") + name + " (" +
                        open.failure + ")";
            continue;
        }
        const SharedLibrary& library = *open.library;
        auto driver = std::make_unique<SystemGpibDriver>(Key{}, std::move(open.library));
        std::string missing;
        Resolve(library, "ibdev", driver->ibdev_, missing);
        Resolve(library, "ibonl", driver->ibonl_, missing);
        Resolve(library, "ibwrt", driver->ibwrt_, missing);
        Resolve(library, "ibrd", driver->ibrd_, missing);
        std::string registration;
        const bool registers =
            Resolve(library, "RegisterGpibGlobalsForThread", driver->register_, registration) &&
            Resolve(library, "UnregisterGpibGlobalsForThread", driver->unregister_, registration);
        if (!registers) {
            // Without the registration entries the thread status comes from the getters.
            driver->register_ = nullptr;
            driver->unregister_ = nullptr;
            Resolve(library, "ThreadIbsta", driver->threadIbsta_, missing);
            Resolve(library, "ThreadIberr", driver->threadIberr_, missing);
            Resolve(library, "ThreadIbcnt", driver->threadIbcnt_, missing);
            Resolve(library, "ThreadIbcntl", driver->threadIbcntl_, missing);
        }
        if (missing.empty()) return DriverLoad{std::move(driver), {}};
        failures += (failures.empty() ? "" : "; ") + name + " lacks " + missing;
    }
    return DriverLoad{nullptr, "GPIB driver library not usable: " + failures};
}

void SystemGpibDriver::CopyThreadStatus() {
    if (register_ != nullptr) return;
    registered_.Set(threadIbsta_(), threadIberr_(), threadIbcnt_(),
                    static_cast<std::int32_t>(threadIbcntl_()));
}

std::int32_t SystemGpibDriver::ibdev(std::int32_t boardIndex, std::int32_t primaryAddress,
                                     std::int32_t secondaryAddress, std::int32_t timeoutCode,
                                     std::int32_t eoiMode, std::int32_t eosMode) {
    const int result =
        ibdev_(boardIndex, primaryAddress, secondaryAddress, timeoutCode, eoiMode, eosMode);
    CopyThreadStatus();
    return result;
}

std::int32_t SystemGpibDriver::ibonl(std::int32_t descriptor, std::int32_t value) {
    const int result = ibonl_(descriptor, value);
    CopyThreadStatus();
    return result;
}

std::int32_t SystemGpibDriver::ibwrt(std::int32_t descriptor, const char* bytes,
                                     std::int32_t count) {
    const int result = ibwrt_(descriptor, bytes, count);
    CopyThreadStatus();
    return result;
}

std::int32_t SystemGpibDriver::ibrd(std::int32_t descriptor, char* buffer, std::int32_t count) {
    const int result = ibrd_(descriptor, buffer, count);
    CopyThreadStatus();
    return result;
}

std::int32_t SystemGpibDriver::RegisterGpibGlobalsForThread(std::int32_t* status,
                                                            std::int32_t* error,
                                                            std::int32_t* count,
                                                            std::int32_t* countLong) {
    registered_.Bind(status, error, count, countLong);
    if (register_ == nullptr) return 0;
    return register_(status, error, count, countLong);
}

std::int32_t SystemGpibDriver::UnregisterGpibGlobalsForThread() {
    return unregister_ != nullptr ? unregister_() : 0;
}

DriverLoad LoadSystemGpibDriver() { return SystemGpibDriver::Load(); }

}  // namespace kelvane
