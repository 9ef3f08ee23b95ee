#pragma once

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <string_view>

#include "platform/files/SystemFile.h"

namespace kelvane::testing {

// A file write that stops, as on a disk that fills up, once `bytes` bytes have gone through in
// all: the bytes up to there are in the file, the rest is refused with `error` (ENOSPC unless
// given). Header-only, so that every test program can use it.
inline FileWrite WriteStoppingAfter(std::size_t bytes, int error = ENOSPC) {
    return [left = bytes, error](SystemFile& file, std::string_view text) mutable {
        const std::string_view allowed = text.substr(0, std::min(left, text.size()));
        const std::size_t written = file.Write(allowed);
        left -= written;
        if (written == allowed.size() && written < text.size()) errno = error;
        return written;
    };
}

}  // namespace kelvane::testing
