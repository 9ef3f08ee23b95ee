#pragma once

#include <string_view>

namespace kelvane {

// Told about each driver call just before it goes to the driver, on the thread that makes it,
// for example to show the operator what the bus is doing while a call blocks.
class GpibCallObserver {
public:
    virtual ~GpibCallObserver() = default;

    virtual void OpeningDevice() = 0;
    // bytes: what this ibwrt sends.
    virtual void Writing(std::string_view bytes) = 0;
    virtual void Reading() = 0;
    virtual void TakingOffline() = 0;
};

}  // namespace kelvane
