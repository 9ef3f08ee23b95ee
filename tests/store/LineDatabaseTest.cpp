#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include "store/LineDatabase.h"
#include "tests/results/SampleRecords.h"
#include "tests/support/TemporaryFolder.h"

namespace kelvane::testing {
namespace {

using namespace std::chrono_literals;

// A loopback port whose server ends every connection at once, counting them: each count is one
// try of the program to reach the server.
class ClosingPort {
public:
    ClosingPort() {
        sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
        socklen_t length = sizeof address;
        if (::bind(socket_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::listen(socket_, 8) != 0 ||
            ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            throw std::runtime_error("no loopback port");
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] {
            for (int connection; (connection = ::accept(socket_, nullptr, nullptr)) >= 0;) {
                accepted_ += !stopping_;
                ::close(connection);
            }
        });
    }
    ~ClosingPort() {
        stopping_ = true;
        ::shutdown(socket_, SHUT_RDWR);
        thread_.join();
        ::close(socket_);
    }
    int Port() const { return port_; }
    int Accepted() const { return accepted_; }

private:
    const int socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
    int port_ = 0;
    std::atomic<int> accepted_{0};
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

TEST(LineDatabaseTest, AnUnreachableServerIsTriedAtMostOnceAWhileAndNothingIsLost) {
    const TemporaryFolder folder;
    const ClosingPort port;
    const std::string journal = (folder.Path() / "journal.sqlite").string();
    // No encryption to negotiate: one connection per try.
    const std::string uri = "postgresql://line@127.0.0.1:" + std::to_string(port.Port()) +
                            "/results?sslmode=disable&gssencmode=disable";
    const auto address = ServerAddress::Parse(uri);
    ASSERT_TRUE(address);
    std::chrono::nanoseconds now = 1000s;
    LineDatabase line(*address, journal, true, [&now] { return now; });
    ASSERT_EQ(line.Problem(), "");
    line.Start();  // what waits from earlier runs: nothing, but the server is tried
    EXPECT_EQ(line.Problem(), "");
    EXPECT_EQ(port.Accepted(), 1);
    EXPECT_EQ(line.Notice(), "");
    struct Step {
        std::chrono::nanoseconds after;  // since the first try
        int tries;                       // the server's tries so far
    };
    const Step steps[] = {{1s, 1}, {10s, 1}, {29s, 1}, {31s, 2}, {40s, 2}, {60s, 2}, {61s, 3}};
    int kept = 0;
    for (const Step& step : steps) {
        now = 1000s + step.after;
        MeasurementRecord record = Record("acp", AcpResult());
        record.recordId = "record-" + std::to_string(++kept);
        EXPECT_EQ(line.Keep(record), "");
        EXPECT_EQ(port.Accepted(), step.tries) << "after " << step.after.count() / 1e9 << " s";
    }
    const std::string notice = line.Notice();
    EXPECT_EQ(notice.substr(0, notice.find(" (")),
              std::to_string(kept) + " records wait for " + uri);
    EXPECT_NE(notice.find("); kelvane --sync " + uri + " --journal "), std::string::npos) << notice;
    EXPECT_TRUE(notice.ends_with(" --journal " + journal + " uploads them")) << notice;
}

TEST(LineDatabaseTest, AJournalThatCannotBeOpenedIsAProblemBeforeAnythingRuns) {
    const TemporaryFolder folder;
    const std::string journal = (folder.Path() / "journal.sqlite").string();
    std::ofstream(journal) << std::string(200, 'x');
    const auto address = ServerAddress::Parse("postgresql://line@127.0.0.1:1/results");
    LineDatabase line(*address, journal, false);
    EXPECT_EQ(line.Problem(),
              "the journal \"" + journal + "\" is not an SQLite database (file is not a database)");
}

}  // namespace
}  // namespace kelvane::testing
