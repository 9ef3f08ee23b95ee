// Which records "Save report as..." takes: those since the DUT last changed.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "report/ReportScope.h"

namespace kelvane {
namespace {

TEST(ReportScope, TheRecordsSinceTheDutLastChanged) {
    struct Case {
        const char* what;
        std::vector<std::string> duts;  // of the records in order
        std::size_t first;              // of the records taken, to the end
    };
    const Case cases[] = {
        {"none", {}, 0},
        {"one DUT all along", {"SN-1", "SN-1", "SN-1"}, 0},
        {"no DUT named all along", {"", "", ""}, 0},
        {"changed once", {"SN-1", "SN-1", "SN-2", "SN-2"}, 2},
        {"back to an earlier DUT", {"SN-1", "SN-2", "SN-1"}, 2},
        {"named after runs without a name", {"", "", "SN-3"}, 2},
        {"name taken away", {"SN-3", ""}, 1},
        {"differs in case only", {"sn-1", "SN-1"}, 1},
    };
    for (const Case& c : cases) {
        std::vector<MeasurementRecord> records;
        for (std::size_t i = 0; i < c.duts.size(); ++i) {
            MeasurementRecord record;
            record.origin.dut = c.duts[i];
            record.recordId = std::to_string(i);
            records.push_back(record);
        }
        const std::vector<MeasurementRecord> taken = RecordsOfNewestDut(records);
        ASSERT_EQ(taken.size(), c.duts.size() - c.first) << c.what;
        for (std::size_t i = 0; i < taken.size(); ++i)
            EXPECT_EQ(taken[i].recordId, std::to_string(c.first + i)) << c.what;
    }
}

}  // namespace
}  // namespace kelvane
