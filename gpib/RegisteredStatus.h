#pragma once

#include <cstdint>

namespace kelvane {

// The four status variables that the program registered with a driver for its thread: status
// word (ibsta), error code (iberr), byte count (ibcnt) and long byte count (ibcntl). A driver
// holds one and sets it at the end of each call; while nothing is registered, setting it does
// nothing.
class RegisteredStatus {
public:
    void Bind(std::int32_t* status, std::int32_t* error, std::int32_t* count,
              std::int32_t* countLong) {
        status_ = status;
        error_ = error;
        count_ = count;
        countLong_ = countLong;
    }
    void Clear() { Bind(nullptr, nullptr, nullptr, nullptr); }
    bool IsBound() const { return status_ != nullptr; }

    void Set(std::int32_t status, std::int32_t error, std::int32_t count, std::int32_t countLong) {
        if (!IsBound()) return;
        *status_ = status;
        *error_ = error;
        *count_ = count;
        *countLong_ = countLong;
    }
    // Both byte counts the same, as for every transfer shorter than 2 GiB.
    void Set(std::int32_t status, std::int32_t error, std::int32_t count) {
        Set(status, error, count, count);
    }

private:
    std::int32_t* status_ = nullptr;
    std::int32_t* error_ = nullptr;
    std::int32_t* count_ = nullptr;
    std::int32_t* countLong_ = nullptr;
};

}  // namespace kelvane
