#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "store/Journal.h"
#include "tests/results/SampleRecords.h"
#include "tests/support/TemporaryFolder.h"

namespace kelvane::testing {
namespace {

constexpr const char* kLine = "postgresql://line@db.example/results";
constexpr const char* kOther = "postgresql://line@db2.example/results";

StoredRecord Stored(const std::string& recordId, MeasurementResult result = AcpResult()) {
    MeasurementRecord record = Record("acp", std::move(result));
    record.recordId = recordId;
    return StoredRecord::Of(record);
}

TEST(JournalTest, RecordsWaitPerServerInTheOrderAddedUntilMarkedSent) {
    const TemporaryFolder folder;
    // The journal's folder is made with it.
    const std::string path = (folder.Path() / "kelvane" / "journal.sqlite").string();
    {
        Journal journal(path, true);
        ASSERT_EQ(journal.Problem(), "");
        for (const char* id : {"c", "a", "b"}) EXPECT_EQ(journal.Add(Stored(id), kLine), "");
        // The same record for a second server: one record, two deliveries.
        EXPECT_EQ(journal.Add(Stored("a"), kOther), "");
        // Added twice for one server (two targets of one run): one delivery.
        EXPECT_EQ(journal.Add(Stored("a"), kLine), "");
        EXPECT_EQ(journal.Waiting(kLine), (std::vector<std::string>{"c", "a", "b"}));
        EXPECT_TRUE(journal.MarkSent("a", kLine));
    }
    Journal reopened(path, false);
    ASSERT_EQ(reopened.Problem(), "");
    EXPECT_EQ(reopened.Waiting(kLine), (std::vector<std::string>{"c", "b"}));
    EXPECT_EQ(reopened.CountWaiting(kLine), 2u);
    EXPECT_EQ(reopened.Waiting(kOther), (std::vector<std::string>{"a"}));
    EXPECT_EQ(reopened.CountWaiting("postgresql://nobody@elsewhere/x"), 0u);
}

TEST(JournalTest, LoadGivesBackTheRowsAsAdded) {
    const TemporaryFolder folder;
    Journal journal((folder.Path() / "journal.sqlite").string(), true);
    MeasurementResult odd = AcpResult();
    // Text from outside as it may come: bytes that are no UTF-8, a NUL, quotes, non-ASCII.
    odd.message = std::string("ends \xFF\xFE with ") + '\0' + " 'quotes' \"and\" \xCE\xA9";
    const std::vector<StoredRecord> records = {Stored("acp-1"), Stored("mask-1", WcdmaMaskResult()),
                                               Stored("odd-1", odd)};
    for (const StoredRecord& record : records) ASSERT_EQ(journal.Add(record, kLine), "");
    for (const StoredRecord& record : records) {
        const auto loaded = journal.Load(record.recordId);
        ASSERT_TRUE(loaded) << record.recordId;
        EXPECT_EQ(loaded->run, record.run) << record.recordId;
        EXPECT_EQ(loaded->record, record.record) << record.recordId;
        EXPECT_EQ(loaded->values, record.values) << record.recordId;
    }
    EXPECT_EQ(std::get<std::string>(records[2].record[13]),
              "ends \xEF\xBF\xBD\xEF\xBF\xBD with \xEF\xBF\xBD 'quotes' \"and\" \xCE\xA9");
    EXPECT_FALSE(journal.Load("not-there"));
}

TEST(JournalTest, DefaultPathFollowsTheDataFolder) {
#ifndef _WIN32
    struct Case {
        std::map<std::string, std::string> environment;
        std::string path;
    };
    const std::vector<Case> cases = {
        {{{"XDG_DATA_HOME", "/data"}, {"HOME", "/home/ana"}}, "/data/kelvane/journal.sqlite"},
        {{{"HOME", "/home/ana"}}, "/home/ana/.local/share/kelvane/journal.sqlite"},
        // A relative XDG_DATA_HOME is not taken.
        {{{"XDG_DATA_HOME", "data"}, {"HOME", "/home/ana"}},
         "/home/ana/.local/share/kelvane/journal.sqlite"},
        {{{"XDG_DATA_HOME", ""}, {"HOME", "/root"}}, "/root/.local/share/kelvane/journal.sqlite"},
        {{}, ""},
    };
    for (const Case& c : cases) {
        static const std::map<std::string, std::string>* environment = nullptr;
        environment = &c.environment;
        const std::string path = Journal::DefaultPath([](const char* name) -> const char* {
            const auto found = environment->find(name);
            return found == environment->end() ? nullptr : found->second.c_str();
        });
        EXPECT_EQ(path, c.path);
    }
#endif
}

}  // namespace
}  // namespace kelvane::testing
