#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kelvane::fuzz {

// The fuzz input read from front to back, one decision at a time. An exhausted input reads as
// zeros, and every decision maps zero to the ordinary case, so a short input plays a
// well-behaved analyzer to the end of its run and a one-byte seed covers a whole good run.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t Byte() { return position_ < size_ ? data_[position_++] : 0; }

    // Two bytes as a signed number, low byte first.
    std::int16_t Int16() {
        const auto low = static_cast<std::uint16_t>(Byte());
        const auto high = static_cast<std::uint16_t>(Byte());
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(low | (high << 8)));
    }

    // Up to `count` bytes; fewer when the input ends.
    std::string Bytes(std::size_t count) {
        const std::size_t available = size_ - position_;
        const std::size_t taken = count < available ? count : available;
        std::string bytes(reinterpret_cast<const char*>(data_ + position_), taken);
        position_ += taken;
        return bytes;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

}  // namespace kelvane::fuzz
