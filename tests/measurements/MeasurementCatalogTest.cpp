// What all seven measurements share: their batch names, the session frame when the bus cannot be
// had, and the registration failure that must end the program with no further driver call.
#include "bus/GpibRegistrationFailure.h"
#include "measurements/MeasurementCatalog.h"
#include "tests/measurements/MeasurementBench.h"

namespace kelvane::testing {
namespace {

struct EntryCase {
    std::string name;
    std::string title;
    std::string firstSetUp;  // the command after "SI"
};

void PrintTo(const EntryCase& c, std::ostream* os) { *os << c.name; }

const std::vector<EntryCase> kEntries{
    {"ch-power", "CH Power Measurement...", "SP 10e6HZ"},
    {"obw", "OBW Measurement...", "SP 10e6HZ"},
    {"acp", "ACP Measurement...", "SP 25e6HZ"},
    {"sem", "SEM Measurement...", "CF 2000000000HZ"},
    {"sem-11a", "SEM Measurement...", "CF 5005000000HZ"},
    {"sem-11b", "SEM Measurement...", "CF 2412000000HZ"},
    {"total-power-11b", "CH Power Measurement...", "SP 40MZ"},
};

TEST(MeasurementCatalog, NamesTheSevenInWindowOrder) {
    std::vector<std::string> names;
    for (const auto& entry : MeasurementCatalog()) names.emplace_back(entry.name);
    std::vector<std::string> expected;
    for (const auto& c : kEntries) expected.push_back(c.name);
    EXPECT_EQ(names, expected);
}

class CatalogEntry : public MeasurementBench, public ::testing::WithParamInterface<EntryCase> {
protected:
    MeasurementOutcome Run() {
        for (const auto& entry : MeasurementCatalog())
            if (entry.name == GetParam().name) return entry.run(context);
        ADD_FAILURE() << "no entry " << GetParam().name;
        return MeasurementOutcome::Failed;
    }

    // The start of a failure line: the title without its dots.
    static std::string Failed() {
        std::string title = GetParam().title;
        return title.erase(title.find("...")) + " failed: ";
    }
};

TEST_P(CatalogEntry, RunsItsOwnMeasurement) {
    const auto& c = GetParam();
    driver.FailWrite(c.firstSetUp);
    EXPECT_EQ(Run(), MeasurementOutcome::Failed);
    Expected e;
    e.Open(c.title).Write({"SI", c.firstSetUp});
    e.Log(Failed() + "\"" + c.firstSetUp + "\" was not accepted (driver error ENOL (2))\r\n");
    EXPECT_EQ(Merged(), e.Close().timeline);
    EXPECT_EQ(log.Text(), e.log);
}

// The title still goes into the log; then the failure, and both ibonl calls on the descriptor
// that ibdev gave.
TEST_P(CatalogEntry, UnopenableAnalyzerFailsWithoutSendingAnything) {
    driver.FailIbdev(kErrorEneb);
    EXPECT_EQ(Run(), MeasurementOutcome::Failed);
    Expected e;
    e.Open(GetParam().title);
    e.Log(Failed() + "ibdev could not open the analyzer (driver error ENEB (7))\r\n");
    EXPECT_EQ(Merged(), e.Close(-1).timeline);
}

TEST_P(CatalogEntry, RegistrationFailurePassesThroughWithNoFurtherDriverCall) {
    driver.SetRegistrationResult(3);
    EXPECT_THROW(Run(), GpibRegistrationFailure);
    EXPECT_EQ(driver.Transcript(),
              (Timeline{"RegisterGpibGlobalsForThread()", "UnregisterGpibGlobalsForThread()"}));
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(log.Text(), "");
}

INSTANTIATE_TEST_SUITE_P(Entries, CatalogEntry, ::testing::ValuesIn(kEntries));

}  // namespace
}  // namespace kelvane::testing
