#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace kelvane::testing {

// The bytes of the file at `path`, unchanged (no line end translation); empty when it cannot be
// read. Header-only, so that every test program can use it without linking kelvane_test_support.
inline std::string FileContents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace kelvane::testing
