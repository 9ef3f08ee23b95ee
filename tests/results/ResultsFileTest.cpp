#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "results/ResultsFile.h"
#include "tests/results/SampleRecords.h"
#include "tests/support/FileContents.h"
#include "tests/support/InTemporaryFolder.h"

namespace kelvane::testing {
namespace {

namespace fs = std::filesystem;

class ResultsFileTest : public InTemporaryFolder {
protected:
    const MeasurementRecord acp_ = Record("acp", AcpResult());
    const MeasurementRecord sem_ = Record("sem", WcdmaMaskResult());
};

TEST_F(ResultsFileTest, AppendsJsonLinesBehindWhatIsThere) {
    const std::string path = PathOf("results.jsonl");
    Put(path, "{\"earlier\":1}\n");
    {
        ResultsFile file(path);
        ASSERT_TRUE(file.IsOpen()) << file.Failure();
        EXPECT_EQ(file.Format(), RecordFormat::JsonLines);
        EXPECT_EQ(file.Path(), path);
        EXPECT_TRUE(file.Write(acp_));
        // Flushed at once: on disk before the next record and before the file is closed.
        EXPECT_EQ(FileContents(path), "{\"earlier\":1}\n" + RecordJsonLine(acp_));
        EXPECT_TRUE(file.Write(sem_));
    }
    ResultsFile again(path);
    EXPECT_TRUE(again.Write(acp_));
    EXPECT_EQ(FileContents(path), "{\"earlier\":1}\n" + RecordJsonLine(acp_) +
                                      RecordJsonLine(sem_) + RecordJsonLine(acp_));
}

TEST_F(ResultsFileTest, ACsvFileGetsItsHeaderOnlyWhenNewOrEmpty) {
    const std::string fresh = PathOf("fresh.csv");
    {
        ResultsFile file(fresh);
        EXPECT_EQ(file.Format(), RecordFormat::Csv);
        EXPECT_TRUE(file.Write(acp_));
        EXPECT_TRUE(file.Write(sem_));
    }
    ResultsFile reopened(fresh);
    EXPECT_TRUE(reopened.Write(acp_));
    EXPECT_EQ(FileContents(fresh),
              CsvHeader() + RecordCsvRows(acp_) + RecordCsvRows(sem_) + RecordCsvRows(acp_));

    const std::string empty = PathOf("EMPTY.CSV");
    Put(empty, "");
    ResultsFile emptyFile(empty);
    EXPECT_TRUE(emptyFile.Write(sem_));
    EXPECT_EQ(FileContents(empty), CsvHeader() + RecordCsvRows(sem_));

    // Earlier rows under Kelvane's header: kept, no second header in the middle.
    const std::string used = PathOf("used.csv");
    Put(used, CsvHeader() + RecordCsvRows(sem_));
    ResultsFile usedFile(used);
    EXPECT_TRUE(usedFile.Write(acp_));
    EXPECT_EQ(FileContents(used), CsvHeader() + RecordCsvRows(sem_) + RecordCsvRows(acp_));
}

TEST_F(ResultsFileTest, AFileThatCannotBeOpenedSaysWhy) {
    ResultsFile file(PathOf("missing/results.csv"));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.Failure(), "No such file or directory");
    EXPECT_FALSE(file.Write(acp_));
    EXPECT_FALSE(fs::exists(folder_ / "missing"));
}

// A full disk: every record that could not be written is reported, with the system's reason.
TEST_F(ResultsFileTest, AFullDiskFailsEveryWrite) {
#ifdef _WIN32
    GTEST_SKIP() << "no device that refuses writes by name here";
#endif
    ResultsFile file("/dev/full");
    if (!file.IsOpen()) GTEST_SKIP() << "no /dev/full here";
    EXPECT_TRUE(file.Failure().empty());
    for (int record = 0; record < 3; ++record) {
        EXPECT_FALSE(file.Write(sem_)) << record;
        EXPECT_EQ(file.Failure(), "No space left on device") << record;
    }
}

}  // namespace
}  // namespace kelvane::testing
