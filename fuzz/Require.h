#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

namespace kelvane::fuzz {

// A property every input must keep. A broken one prints what was expected and aborts, which
// libFuzzer reports as a crash and saves the input that caused it.
inline void Require(bool holds, const std::string& property) {
    if (holds) return;
    std::fprintf(stderr, "\nProperty broken: %s\n", property.c_str());
    std::abort();
}

}  // namespace kelvane::fuzz
