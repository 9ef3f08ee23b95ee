#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>

#include <sys/stat.h>
#endif

#include "platform/files/AppendFile.h"
#include "platform/files/SystemFile.h"
#include "tests/support/FileContents.h"
#include "tests/support/InTemporaryFolder.h"

namespace kelvane::testing {
namespace {

namespace fs = std::filesystem;

class SystemFileTest : public InTemporaryFolder {};

// The lock is exclusive between two openings of one file, as between two programs.
TEST_F(SystemFileTest, TheLockWaitsForItsHolder) {
    const std::string path = PathOf("shared.csv");
    SystemFile first = SystemFile::OpenForAppend(path);
    SystemFile second = SystemFile::OpenForAppend(path);
    ASSERT_TRUE(first.Lock());
    std::atomic<bool> taken = false;
    std::thread other([&] {
        EXPECT_TRUE(second.Lock());
        taken = true;
        second.Unlock();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(taken) << "the lock was taken twice";
    first.Unlock();
    other.join();
    EXPECT_TRUE(taken);
}

// Placing a file never replaces another unless asked to: a taken name leaves both as they were.
TEST_F(SystemFileTest, PlacesAFileOnlyWhereAsked) {
    struct Case {
        const char* name;
        const char* existing;  // at the target beforehand; "/" a folder; nullptr nothing
        bool replace;
        SystemFile::Placed placed;
    };
    const Case cases[] = {
        {"free name", nullptr, false, SystemFile::Placed::Yes},
        {"taken by a file", "theirs", false, SystemFile::Placed::Taken},
        {"taken by a folder", "/", false, SystemFile::Placed::Taken},
        {"replacing a file", "old", true, SystemFile::Placed::Yes},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TemporaryFolder folder;
        const std::string from = (folder.Path() / ".chart.part").string();
        const std::string to = (folder.Path() / "chart.svg").string();
        Put(from, "whole");
        if (c.existing != nullptr && std::string(c.existing) == "/") {
            fs::create_directory(to);
        } else if (c.existing != nullptr) {
            Put(to, c.existing);
        }
        EXPECT_EQ(SystemFile::Place(from, to, c.replace), c.placed);
        if (c.placed == SystemFile::Placed::Yes) {
            EXPECT_EQ(FileContents(to), "whole");
            EXPECT_FALSE(fs::exists(from));
        } else {
            EXPECT_EQ(FileContents(from), "whole");
            if (!fs::is_directory(to)) {
                EXPECT_EQ(FileContents(to), c.existing);
            }
        }
    }
}

#ifndef _WIN32
// A named pipe that no program reads: the open fails at once, for the results and the trace
// alike, saying what to do; with a reader it opens, as a file without a length.
TEST_F(SystemFileTest, ANamedPipeWithoutAReaderFailsAtOnce) {
    const std::string path = PathOf("pipe");
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    const auto start = std::chrono::steady_clock::now();
    errno = 0;
    EXPECT_FALSE(SystemFile::OpenForAppend(path).IsOpen());
    EXPECT_EQ(SystemFile::Reason(errno),
              "no program reads this named pipe; start its reader first");
    errno = 0;
    EXPECT_FALSE(OpenForAppend(path));
    EXPECT_EQ(errno, ENXIO);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));

    const int reader = open(path.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    SystemFile file = SystemFile::OpenForAppend(path);
    ASSERT_TRUE(file.IsOpen());
    EXPECT_FALSE(file.IsRegular());
    EXPECT_EQ(file.Size(), std::nullopt);
    EXPECT_EQ(file.Write("row\r\n"), 5u);
    char bytes[8] = {};
    EXPECT_EQ(read(reader, bytes, sizeof bytes), 5);
    EXPECT_TRUE(OpenForAppend(path));
    close(reader);
}

// A file that may be written but not read is appended to all the same, without reading back.
TEST_F(SystemFileTest, AWriteOnlyFileIsAppendedWithoutReadingBack) {
    const std::string path = PathOf("write-only.jsonl");
    Put(path, "one\n");
    ASSERT_EQ(chmod(path.c_str(), 0200), 0);
    if (access(path.c_str(), R_OK) == 0) GTEST_SKIP() << "the user may read anything (root)";
    SystemFile file = SystemFile::OpenForAppend(path);
    ASSERT_TRUE(file.IsOpen());
    EXPECT_EQ(file.ReadAt(0, 4), std::nullopt);
    EXPECT_EQ(file.Write("two\n"), 4u);
    chmod(path.c_str(), 0600);
    EXPECT_EQ(FileContents(path), "one\ntwo\n");
}
#endif

}  // namespace
}  // namespace kelvane::testing
