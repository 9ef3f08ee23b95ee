#include <chrono>
#include <optional>

#include <gtest/gtest.h>

#include "gpib/GpibCodes.h"

namespace kelvane::testing {
namespace {

TEST(GpibCodes, NamesDriverErrors) {
    EXPECT_EQ(GpibErrorName(2), "ENOL (2)");
    EXPECT_EQ(GpibErrorName(6), "EABO (6)");
    EXPECT_EQ(GpibErrorName(99), "error 99");
}

// One table for every driver: the adapter's and the simulated analyzer's time-outs agree.
TEST(GpibCodes, TimeOutCodes) {
    using std::chrono::microseconds;
    using std::chrono::seconds;
    const std::pair<int, std::optional<std::chrono::nanoseconds>> cases[]{
        {0, seconds(1000)},  // none: the longest, so that nothing hangs
        {1, microseconds(10)}, {2, microseconds(30)}, {3, microseconds(100)},
        {11, seconds(1)},      {12, seconds(3)},      {13, seconds(10)},
        {17, seconds(1000)},   {18, std::nullopt},    {-1, std::nullopt},
    };
    for (const auto& [code, timeout] : cases) EXPECT_EQ(GpibTimeout(code), timeout) << code;
}

}  // namespace
}  // namespace kelvane::testing
