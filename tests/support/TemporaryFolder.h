#pragma once

#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>

namespace kelvane::testing {

// A new, empty folder under the system's temporary folder, removed with all it holds when the
// TemporaryFolder ends. Its name is new also to tests running at the same time in other
// processes: the folder is made only where none was. Header-only, so that every test program
// can use it without linking kelvane_test_support.
class TemporaryFolder {
public:
    TemporaryFolder() {
        const std::filesystem::path parent = std::filesystem::temp_directory_path();
        std::random_device seed;
        std::mt19937_64 random(static_cast<std::mt19937_64::result_type>(seed()) << 32 ^ seed());
        for (int attempt = 0; attempt < kAttempts; ++attempt) {
            path_ = parent / ("kelvane-test-" + std::to_string(random()));
            // false (no error) when the name is taken already; throws when nothing can be made.
            if (std::filesystem::create_directory(path_)) return;
        }
        throw std::runtime_error("no new temporary folder in " + parent.string());
    }
    ~TemporaryFolder() {
        std::error_code ignored;  // what cannot be removed stays in the temporary folder
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

private:
    static constexpr int kAttempts = 100;

    std::filesystem::path path_;
};

}  // namespace kelvane::testing
