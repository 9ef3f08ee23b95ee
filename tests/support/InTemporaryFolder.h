#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/TemporaryFolder.h"

namespace kelvane::testing {

// A test fixture whose test has a new, empty temporary folder of its own for the files it makes.
// Header-only, like TemporaryFolder.
class InTemporaryFolder : public ::testing::Test {
protected:
    // The path of the file `name` in the folder.
    std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }

    // Writes `bytes` unchanged into the file at `path`, over what it held.
    static void Put(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    const TemporaryFolder temporary_;
    const std::filesystem::path& folder_ = temporary_.Path();
};

}  // namespace kelvane::testing
