// The results file under faults: a record cut off at any byte, a last line without its end, a
// CSV under another header, and two writers creating one file at once.
#include <algorithm>
#include <chrono>
#include <latch>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "results/ResultsFile.h"
#include "tests/results/SampleRecords.h"
#include "tests/support/FileContents.h"
#include "tests/support/InTemporaryFolder.h"
#include "tests/support/ShortWrite.h"

namespace kelvane::testing {
namespace {

class ResultsFileFaultsTest : public InTemporaryFolder {
protected:
    const MeasurementRecord acp_ = Record("acp", AcpResult());
};

// The file's lines, each whole: a JSON object, or a CSV row of eight cells ending in CR LF.
// Empty when any line is not.
std::vector<std::string> WholeLines(const std::string& contents, RecordFormat format) {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < contents.size();) {
        const std::size_t end = contents.find('\n', at);
        if (end == std::string::npos) return {};
        const std::string line = contents.substr(at, end - at);
        at = end + 1;
        if (format == RecordFormat::JsonLines && !nlohmann::json::accept(line)) return {};
        if (format == RecordFormat::Csv &&
            (!line.ends_with('\r') || std::count(line.begin(), line.end(), ',') != 7))
            return {};
        lines.push_back(line);
    }
    return lines;
}

// Cut off at every byte, a record leaves the file as it was, and says so; the next record
// follows on its own line, and every line of the file reads back whole.
TEST_F(ResultsFileFaultsTest, ARecordCutOffAtAnyByteLeavesNothingBehind) {
    struct Case {
        const char* name;
        const char* file;
        std::string before;  // the file's bytes before the record
        std::string text;    // what the record adds to them
    };
    const std::string row = RecordCsvRows(acp_);
    const Case cases[] = {
        {"new CSV file, header and rows", "new.csv", "", CsvHeader() + row},
        {"CSV rows behind others", "rows.csv", CsvHeader() + row, row},
        {"JSON line behind others", "r.jsonl", RecordJsonLine(acp_), RecordJsonLine(acp_)},
    };
    for (const Case& c : cases) {
        const std::string path = PathOf(c.file);
        const RecordFormat format = RecordFormatFor(c.file);
        const std::size_t linesBefore = WholeLines(c.before, format).size();
        for (std::size_t cut = 0; cut < c.text.size() && !HasFailure(); ++cut) {
            SCOPED_TRACE(std::string(c.name) + ", cut after " + std::to_string(cut) + " bytes");
            Put(path, c.before);
            {
                ResultsFile file(path, WriteStoppingAfter(cut));
                ASSERT_TRUE(file.IsOpen()) << file.Failure();
                EXPECT_FALSE(file.Write(acp_));
                EXPECT_EQ(file.Failure(),
                          "No space left on device; nothing of it was left in the file");
            }
            EXPECT_EQ(FileContents(path), c.before);
            ResultsFile next(path);
            EXPECT_TRUE(next.Write(acp_)) << next.Failure();
            const std::string after = FileContents(path);
            EXPECT_EQ(after, c.before + c.text);
            EXPECT_EQ(WholeLines(after, format).size(),
                      WholeLines(c.text, format).size() + linesBefore);
        }
    }
}

// A file whose last line lacks its end (cut off by another program, or an older Kelvane) gets
// it before the record, which so starts on a line of its own.
TEST_F(ResultsFileFaultsTest, ARecordStartsOnALineOfItsOwn) {
    struct Case {
        const char* name;
        const char* file;
        std::string before;
        std::string lead;  // between the file's bytes and the record
    };
    const std::string header = CsvHeader();
    const Case cases[] = {
        {"JSON line without its end", "a.jsonl", "{\"m\":1}", "\n"},
        {"JSON line ending in CR LF", "b.jsonl", "{\"m\":1}\r\n", ""},
        {"JSON line ending in CR", "c.jsonl", "{\"m\":1}\r", "\n"},
        {"CSV row cut off", "a.csv", header + "2026-12-09T14:19:50.123Z,acp,carrier_power,-10",
         "\r\n"},
        {"CSV row ending in CR", "b.csv", header + "x\r", "\n"},
        {"CSV header alone", "c.csv", header, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = PathOf(c.file);
        Put(path, c.before);
        ResultsFile file(path);
        ASSERT_TRUE(file.IsOpen()) << file.Failure();
        EXPECT_TRUE(file.Write(acp_));
        EXPECT_EQ(FileContents(path), c.before + c.lead + RecordText(acp_, file.Format()));
    }
}

// A CSV under another header than Kelvane's is refused and kept as it is; an empty one, one
// under Kelvane's header and a JSON Lines file of any content are taken.
TEST_F(ResultsFileFaultsTest, ACsvUnderAnotherHeaderIsRefused) {
    struct Case {
        const char* name;
        const char* file;
        std::string before;
        bool refused;
    };
    const std::string header = CsvHeader();
    const Case cases[] = {
        {"another program's", "other.csv", "a,b\r\n1,2\r\n", true},
        {"an older layout", "older.csv",
         "started,measurement,name,value,unit,limit,margin,verdict\r\n", true},
        {"Kelvane's header cut short", "short.csv", header.substr(0, 12), true},
        {"Kelvane's header without CR LF", "bare.csv", header.substr(0, header.size() - 2), true},
        {"Kelvane's header and rows", "kelvane.csv", header + RecordCsvRows(acp_), false},
        {"empty", "empty.csv", "", false},
        {"JSON Lines, anything", "any.jsonl", "a,b\r\n", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = PathOf(c.file);
        Put(path, c.before);
        ResultsFile file(path);
        EXPECT_EQ(file.OtherHeader(), c.refused);
        EXPECT_EQ(file.IsOpen(), !c.refused);
        EXPECT_EQ(file.Write(acp_), !c.refused);
        if (c.refused) {
            EXPECT_EQ(FileContents(path), c.before);
        }
    }
}

// Two writers create one CSV at once, each with its own opening of the file (as two programs
// would): the header goes in once, and each record whole.
TEST_F(ResultsFileFaultsTest, TwoWritersCreatingOneCsvWriteOneHeader) {
    const std::string path = PathOf("together.csv");
    // Each write waits a moment before its bytes go out: without the lock, both writers would
    // find the file empty and write a header.
    const FileWrite slowWrite = [](SystemFile& file, std::string_view bytes) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return file.Write(bytes);
    };
    std::latch opened(2);
    const auto writer = [&] {
        ResultsFile file(path, slowWrite);
        opened.arrive_and_wait();
        EXPECT_TRUE(file.Write(acp_)) << file.Failure();
    };
    std::thread first(writer), second(writer);
    first.join();
    second.join();
    const std::string row = RecordCsvRows(acp_);
    EXPECT_EQ(FileContents(path), CsvHeader() + row + row);
}

}  // namespace
}  // namespace kelvane::testing
