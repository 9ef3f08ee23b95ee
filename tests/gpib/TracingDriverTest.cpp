#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gpib/TraceFile.h"
#include "gpib/TracingDriver.h"
#include "tests/support/ScriptedDriver.h"

namespace kelvane::testing {
namespace {

std::vector<std::string> FileLines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(TracingDriverTest, OneLinePerCallWithWhatItReturned) {
    const std::string path = ::testing::TempDir() + "tracing-driver-test.trace";
    std::remove(path.c_str());
    VirtualClock clock;
    TraceFileOpen open = OpenTraceFile(path);
    ASSERT_TRUE(open.file) << open.failure;
    TraceLog log(std::move(open.file), clock);
    auto owned = std::make_unique<ScriptedDriver>();
    ScriptedDriver& scripted = *owned;
    scripted.Reply("A?", {std::string("1,\"x\"\r\n\0", 8)});
    scripted.FailWrite("BAD", kErrorEnol);
    TracingDriver driver(std::move(owned), log);

    std::int32_t status = 0, error = 0, count = 0, countLong = 0;
    driver.RegisterGpibGlobalsForThread(&status, &error, &count, &countLong);
    clock.Advance(std::chrono::microseconds(1500));
    driver.ibdev(0, 8, 0, 13, 1, 0);
    driver.ibwrt(16, "A?", 2);
    std::string buffer(20, ' ');
    driver.ibrd(16, buffer.data(), 20);
    driver.ibwrt(16, "BAD", 3);
    driver.ibrd(16, buffer.data(), 20);
    driver.ibonl(16, 0);
    driver.UnregisterGpibGlobalsForThread();
    log.Line("# a note");

    // The time column, then the call and its outcome.
    std::vector<std::string> times, calls;
    for (const auto& line : FileLines(path)) {
        times.push_back(line.substr(0, 16));
        calls.push_back(line.substr(16));
    }
    EXPECT_EQ(times.front(), "      0.000 ms  ");
    EXPECT_EQ(times.back(), "      1.500 ms  ");
    const std::string ok = "ibsta 0x0100 (CMPL)  iberr 0  ibcnt ";
    const std::string end = "ibsta 0x2100 (END CMPL)  iberr 0  ibcnt ";
    EXPECT_EQ(calls, (std::vector<std::string>{
                         "RegisterGpibGlobalsForThread() -> 0",
                         "ibdev(0, 8, 0, 13, 1, 0) = 16 -> " + ok + "0",
                         "ibwrt(16, \"A?\", 2) -> " + end + "2",
                         "ibrd(16, 20) -> " + end + R"(8  "1,\"x\"\r\n\0")",
                         "ibwrt(16, \"BAD\", 3) -> ibsta 0x8000 (ERR)  iberr ENOL (2)  ibcnt 0",
                         R"(ibrd(16, 20) -> ibsta 0xC000 (ERR TIMO)  iberr EABO (6)  ibcnt 0  "")",
                         "ibonl(16, 0) -> " + ok + "0",
                         "UnregisterGpibGlobalsForThread() -> 0",
                         "# a note",
                     }));
    std::remove(path.c_str());
}

TEST(TracingDriverTest, ATraceFileThatCannotBeOpenedSaysWhy) {
    const TraceFileOpen open = OpenTraceFile("/nonexistent-directory/kelvane.trace");
    EXPECT_FALSE(open.file);
    EXPECT_EQ(open.failure, "No such file or directory");
}

// A full disk: the first failed line is reported with the system's reason, once; the lines
// after it are dropped rather than leave a trace with a hole in it.
TEST(TracingDriverTest, ATraceThatCannotBeWrittenIsReportedOnce) {
#ifdef _WIN32
    GTEST_SKIP() << "no device that refuses writes by name here";
#endif
    VirtualClock clock;
    TraceFileOpen open = OpenTraceFile("/dev/full");
    if (!open.file) GTEST_SKIP() << "no /dev/full here";
    std::vector<std::string> reports;
    TraceLog log(std::move(open.file), clock,
                 [&reports](const std::string& reason) { reports.push_back(reason); });
    EXPECT_TRUE(log.Failure().empty());
    for (int line = 0; line < 3; ++line) log.Line("# line " + std::to_string(line));
    EXPECT_EQ(reports, std::vector<std::string>{"No space left on device"});
    EXPECT_EQ(log.Failure(), "No space left on device");
}

}  // namespace
}  // namespace kelvane::testing
