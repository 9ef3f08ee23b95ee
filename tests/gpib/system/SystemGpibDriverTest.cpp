#include <gtest/gtest.h>

#include "gpib/GpibCodes.h"
#include "gpib/system/SystemGpibDriver.h"

namespace kelvane::testing {
namespace {

TEST(SystemGpibDriver, FillsTheRegisteredStatusFromTheThreadGetters) {
    auto load = SystemGpibDriver::Load({"libdoes-not-exist.so.0", KELVANE_FAKE_GPIB_LIBRARY});
    ASSERT_TRUE(load.driver) << load.failure;
    std::int32_t status = 0, error = 0, count = 0, countLong = 0;
    ASSERT_EQ(load.driver->RegisterGpibGlobalsForThread(&status, &error, &count, &countLong), 0);

    EXPECT_EQ(load.driver->ibdev(0, 9, 0, 13, 1, 0), -1);
    EXPECT_EQ(status, kStatusErr);
    EXPECT_EQ(error, kErrorEnol);

    const int descriptor = load.driver->ibdev(0, 8, 0, 13, 1, 0);
    load.driver->ibwrt(descriptor, "ML?", 3);
    EXPECT_EQ(countLong, 3);
    char buffer[10] = "xxxxxxxxx";
    load.driver->ibrd(descriptor, buffer, 10);
    EXPECT_EQ(std::string(buffer, 4), "42xx");
    EXPECT_EQ(countLong, 2);
    EXPECT_EQ(error, 0);
}

TEST(SystemGpibDriver, NamesWhatIsMissing) {
    auto none = SystemGpibDriver::Load({"libdoes-not-exist.so.0"});
    EXPECT_FALSE(none.driver);
    EXPECT_NE(none.failure.find("cannot open libdoes-not-exist.so.0"), std::string::npos);

    auto half = SystemGpibDriver::Load({KELVANE_HALF_GPIB_LIBRARY});
    EXPECT_FALSE(half.driver);
    EXPECT_NE(half.failure.find("lacks ibonl, ibwrt, ibrd, ThreadIbsta"), std::string::npos)
        << half.failure;
}

}  // namespace
}  // namespace kelvane::testing
