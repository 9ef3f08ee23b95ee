// The loader against a driver library with the registration entries, as Windows drivers have
// them (on Windows the stand-in is gpib-32.dll, found beside the test program). Each of its C
// entries hands the call on to a scripted driver, so the calls are seen after the full trip
// through the loader and the library's C signatures.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analyzer/AnalyzerSession.h"
#include "analyzer/GpibBinding.h"
#include "analyzer/GpibRegistrationFailure.h"
#include "gpib/system/SystemGpibDriver.h"
#include "measurements/MeasurementCatalog.h"
#include "platform/SharedLibrary.h"
#include "tests/measurements/ScriptedRuns.h"
#include "tests/support/ScriptedDriver.h"
#include "tests/support/VirtualClock.h"

namespace kelvane::testing {
namespace {

using Texts = std::vector<std::string>;

// The stand-in library, opened by the test to connect it to `driver`; the binding's loader
// opens the same loaded library again.
class RegisteringLibraryTest : public ::testing::Test {
protected:
    using ConnectFn = void (*)(GpibDriver*);

    void SetUp() override {
        SharedLibraryOpen open = OpenSharedLibrary(KELVANE_REGISTERING_GPIB_LIBRARY);
        ASSERT_TRUE(open.library) << open.failure;
        library_ = std::move(open.library);
        connect_ = reinterpret_cast<ConnectFn>(library_->Find("StandInConnect"));
        ASSERT_NE(connect_, nullptr);
        connect_(&driver);
    }
    void TearDown() override {
        if (connect_ != nullptr) connect_(nullptr);
    }

    GpibBinding Binding(std::vector<std::string> names = {KELVANE_REGISTERING_GPIB_LIBRARY}) {
        return GpibBinding([names] { return SystemGpibDriver::Load(names); },
                           [this](const std::string& message) { messages.push_back(message); });
    }

    ScriptedDriver driver;
    Texts messages;

private:
    std::unique_ptr<SharedLibrary> library_;
    ConnectFn connect_ = nullptr;
};

struct RegistrationCase {
    std::vector<std::int32_t> results;  // of the first registration and, after 1, the second
    std::string message;                // empty: registered
    Texts calls;                        // that reached the scripted driver for a first ibonl(16, 0)
};

const Texts kRegister{"RegisterGpibGlobalsForThread()"};
const Texts kUnregister{"UnregisterGpibGlobalsForThread()"};

using runs::operator+;

TEST_F(RegisteringLibraryTest, ActsOnEachRegistrationResult) {
    const std::vector<RegistrationCase> cases{
        {{0}, "", kRegister + Texts{"ibonl(16, 0)"}},
        {{1, 0}, "", kRegister + kUnregister + kRegister + Texts{"ibonl(16, 0)"}},
        {{1, 3},
         "Unable to register GPIB thread globals. Quitting the Program!",
         kRegister + kUnregister + kRegister + kUnregister},
        {{2},
         "Operating System is not multi-threaded. Quitting the Program!",
         kRegister + kUnregister},
        {{3},
         "Unable to register GPIB thread globals. Quitting the Program!",
         kRegister + kUnregister},
        {{-1}, "Unknown Error for Registering GPIB Globals!!! Quitting the Program!", kRegister},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.results.front());
        driver.calls.clear();
        messages.clear();
        driver.SetRegistrationResults(c.results);
        GpibBinding binding = Binding();
        if (c.message.empty()) {
            binding.ibonl(16, 0);
            EXPECT_TRUE(binding.Registered());
            EXPECT_TRUE(messages.empty());
        } else {
            EXPECT_THROW(binding.ibonl(16, 0), GpibRegistrationFailure);
            EXPECT_EQ(messages, Texts{c.message});
        }
        EXPECT_EQ(driver.Transcript(), c.calls);
    }
}

TEST_F(RegisteringLibraryTest, UnusableLibrariesAreARegistrationFailure) {
    const std::string unable = "Unable to register GPIB thread globals. Quitting the Program!\n";
    const struct {
        std::vector<std::string> names;
        Texts named;  // in the message, in this order
    } cases[]{
        {{"kelvane-absent-gpib.dll", "kelvane-absent-ni.dll"},
         {unable + "GPIB driver library not usable: cannot open kelvane-absent-gpib.dll (",
          "; cannot open kelvane-absent-ni.dll ("}},
        {{KELVANE_HALF_GPIB_LIBRARY}, {unable, "lacks ibonl, ibwrt, ibrd, ThreadIbsta"}},
    };
    for (const auto& c : cases) {
        messages.clear();
        GpibBinding binding = Binding(c.names);
        EXPECT_THROW(binding.ibonl(16, 0), GpibRegistrationFailure);
        ASSERT_EQ(messages.size(), 1u);
        std::size_t at = 0;
        for (const auto& text : c.named) {
            at = messages[0].find(text, at);
            EXPECT_NE(at, std::string::npos) << text << " in " << messages[0];
        }
    }
#ifdef _WIN32
    // The system's own words for the missing DLL, with the error number.
    auto absent = SystemGpibDriver::Load({"kelvane-absent-gpib.dll"});
    EXPECT_NE(absent.failure.find("(error 126)"), std::string::npos) << absent.failure;
#endif
    EXPECT_TRUE(driver.calls.empty());
}

#ifdef _WIN32
TEST_F(RegisteringLibraryTest, TheProgramsDriverIsGpib32First) {
    EXPECT_EQ(GpibLibraryNames(), (Texts{"gpib-32.dll", "ni4882.dll"}));
    GpibBinding binding(LoadSystemGpibDriver, [](const std::string&) {});
    binding.ibonl(16, 0);
    EXPECT_EQ(driver.Transcript(), kRegister + Texts{"ibonl(16, 0)"});
}
#endif

// A whole measurement, as the fixture records it, with the driver behind the library.
TEST_F(RegisteringLibraryTest, ChannelPowerRunsAsScripted) {
    const runs::Golden& golden = runs::GoldenRuns().front();
    ASSERT_EQ(golden.name, "ch-power");
    struct Log : LogSink {
        void AppendResult(const std::string& text) override { timeline->push_back("log: " + text); }
        Texts* timeline;
    };
    Texts timeline;
    Log log;
    log.timeline = &timeline;
    VirtualClock clock;
    driver.AttachClock(&clock);
    driver.onCall = [&timeline](const DriverCall& call) {
        const bool onDevice = !call.args.empty() && call.args[0] == ScriptedDriver::kDescriptor;
        if (onDevice && call.name == "ibrd")
            timeline.push_back("<" + std::to_string(call.args.at(1)) + " " + call.bytes);
        else
            timeline.push_back(onDevice && call.name == "ibwrt" ? call.bytes : call.ToString());
    };
    for (const auto& [query, reads] : golden.script) driver.Reply(query, reads);

    GpibBinding binding = Binding();
    AnalyzerSession session(binding);
    MeasurementContext context{session, log, clock};
    EXPECT_EQ(FindMeasurement(golden.name)->run(context).outcome, MeasurementOutcome::Completed);
    EXPECT_EQ(timeline, golden.run);
}

}  // namespace
}  // namespace kelvane::testing
