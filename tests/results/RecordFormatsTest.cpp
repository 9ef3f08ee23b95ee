#include <chrono>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "results/RecordFormats.h"
#include "tests/results/SampleRecords.h"

namespace kelvane::testing {
namespace {

using nlohmann::json;

json ParseLine(const std::string& line) {
    EXPECT_FALSE(line.empty());
    EXPECT_EQ(line.find('\n'), line.size() - 1) << "one record, one line: " << line;
    return json::parse(line);
}

TEST(RecordFormatFor, ChoosesCsvByTheNamesEnding) {
    const std::pair<const char*, RecordFormat> cases[] = {
        {"results.csv", RecordFormat::Csv},         {"RESULTS.CSV", RecordFormat::Csv},
        {"bench/run 1.Csv", RecordFormat::Csv},     {".csv", RecordFormat::Csv},
        {"results.jsonl", RecordFormat::JsonLines}, {"results.csv.txt", RecordFormat::JsonLines},
        {"csv", RecordFormat::JsonLines},           {"", RecordFormat::JsonLines},
        {"results.cs", RecordFormat::JsonLines},
    };
    for (const auto& [name, format] : cases) EXPECT_EQ(RecordFormatFor(name), format) << name;
}

TEST(RecordJsonLine, KeepsEveryFieldOfAMaskRecord) {
    const MeasurementRecord record = Record("sem", WcdmaMaskResult());
    const json parsed = ParseLine(RecordJsonLine(record));

    EXPECT_EQ(parsed.at("measurement"), "sem");
    EXPECT_EQ(parsed.at("title"), "S.E.M. Measurement...");
    EXPECT_EQ(parsed.at("started"), "2026-12-09T14:19:50.123Z");
    EXPECT_EQ(parsed.at("duration_s").get<double>(), 4.25);
    EXPECT_EQ(parsed.at("bus"), "simulated");
    EXPECT_EQ(parsed.at("setup").at("center_hz").get<double>(), 2000e6);
    EXPECT_EQ(parsed.at("setup").at("reference_level_dbm").get<double>(), 10);
    EXPECT_FALSE(parsed.at("setup").contains("path_loss_db"));
    EXPECT_EQ(parsed.at("limit_set"), "mask_sent");
    EXPECT_EQ(parsed.at("dut"), "SN-1");
    EXPECT_EQ(parsed.at("operator"), "Ana");
    EXPECT_EQ(parsed.at("station"), "bench-7");
    EXPECT_EQ(parsed.at("run_id"), "0f8fad5b-d9cb-469f-a165-70867728950e");
    EXPECT_EQ(parsed.at("record_id"), "7c9e6679-7425-40de-944b-e07fc1f90ae7");
    EXPECT_EQ(parsed.at("setup").at("board"), 1);
    EXPECT_EQ(parsed.at("setup").at("address"), 18);
    EXPECT_EQ(parsed.at("outcome"), "completed");
    EXPECT_EQ(parsed.at("message"), "");
    EXPECT_EQ(parsed.at("verdict"), "pass");
    EXPECT_EQ(parsed.at("worst_margin").get<double>(), record.judgement.worstMargin.value());
    EXPECT_EQ(parsed.at("margin_unit"), "dB");
    EXPECT_EQ(parsed.at("kelvane"), "1.2.0");
    EXPECT_EQ(parsed.at("log"), record.result.log);

    const json& values = parsed.at("values");
    ASSERT_EQ(values.size(), 3u);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const JudgedValue& judged = record.judgement.values.at(i);
        const MaskRow& row = judged.measured.row.value();
        const json& value = values.at(i);
        EXPECT_EQ(value.at("name"), judged.measured.name);
        EXPECT_EQ(value.at("value").get<double>(), judged.measured.value);  // exactly
        EXPECT_EQ(value.at("unit"), "dBm");
        EXPECT_EQ(value.at("limit").get<double>(), judged.limit.value());
        EXPECT_EQ(value.at("margin").get<double>(), judged.margin.value());
        EXPECT_EQ(value.at("verdict"), "pass");
        EXPECT_EQ(value.at("start_hz").get<double>(), row.startHz);
        EXPECT_EQ(value.at("stop_hz").get<double>(), row.stopHz);
        EXPECT_EQ(value.at("frequency_hz").get<double>(), row.frequencyHz);
        EXPECT_EQ(value.at("relative_db").get<double>(), row.relativeDb);
        EXPECT_FALSE(value.contains("analyzer_verdict"));
        EXPECT_FALSE(value.contains("analyzer_value"));
    }
    EXPECT_EQ(values.at(0).at("value").get<double>(), -70.29);
    EXPECT_EQ(values.at(0).at("limit").get<double>(), -13);
}

// Behind a path loss a level is kept at the DUT and as the analyzer answered it; the set-up
// names the loss and the base station's power, the record the limits it was judged against.
TEST(RecordJsonLine, KeepsTheLevelAtTheDutAndAsAnswered) {
    MeasurementRecord record = Record("sem", WcdmaMaskResult());
    record.setup.pathLoss = PathLoss::Fixed(30);
    record.setup.bsPowerDbm = 35;
    record.judgement = Judge(record.result, record.setup);
    const json parsed = ParseLine(RecordJsonLine(record));
    EXPECT_EQ(parsed.at("setup").at("path_loss_db").get<double>(), 30);
    EXPECT_EQ(parsed.at("setup").at("bs_power_dbm").get<double>(), 35);
    EXPECT_EQ(parsed.at("limit_set"), "bs_power_dbm");
    const json& row = parsed.at("values").at(0);
    EXPECT_EQ(row.at("value").get<double>(), -40.29);
    EXPECT_EQ(row.at("analyzer_value").get<double>(), -70.29);
    EXPECT_EQ(row.at("limit").get<double>(), -17);  // P - 52 at 4.5 MHz

    record.setup.pathLoss = PathLoss::Table({{1e9, 1}, {3e9, 2}}, "loss \"A\".csv");
    EXPECT_EQ(ParseLine(RecordJsonLine(record)).at("setup").at("path_loss_table"),
              "loss \"A\".csv");
}

TEST(RecordJsonLine, AValueWithoutLimitHasNoVerdictAndTheOutcomeIsNamed) {
    const struct {
        MeasurementOutcome outcome;
        const char* name;
        const char* verdict;
    } cases[] = {
        {MeasurementOutcome::Completed, "completed", "none"},
        {MeasurementOutcome::Warning, "warning", "incomplete"},
        {MeasurementOutcome::Failed, "failed", "incomplete"},
    };
    for (const auto& c : cases) {
        MeasurementResult result =
            Result("CH Power Measurement...", c.outcome, {Value("channel_power", -10.2, "dBm")});
        result.message = c.outcome == MeasurementOutcome::Completed ? "" : "Warning: late";
        const json parsed = ParseLine(RecordJsonLine(Record("ch-power", result)));
        EXPECT_EQ(parsed.at("outcome"), c.name);
        EXPECT_EQ(parsed.at("message"), result.message);
        EXPECT_EQ(parsed.at("verdict"), c.verdict);
        EXPECT_TRUE(parsed.at("worst_margin").is_null());
        EXPECT_TRUE(parsed.at("margin_unit").is_null());
        const json expected = {{"name", "channel_power"}, {"value", -10.2}, {"unit", "dBm"}};
        EXPECT_EQ(parsed.at("values"), json::array({expected}));
    }
}

TEST(RecordJsonLine, AWlanRowCarriesTheAnalyzersVerdict) {
    const MeasurementResult result =
        Result("SEM (11a) Measurement...", MeasurementOutcome::Completed,
               {Row(1, 4985e6, 4994e6, 4993e6, -50, -40, true),
                Row(2, 5016e6, 5025e6, 5017e6, -50, -40, false)},
               5005e6, Wlan11aMask(-10));
    const json parsed = ParseLine(RecordJsonLine(Record("sem-11a", result)));
    EXPECT_EQ(parsed.at("verdict"), "fail");
    EXPECT_EQ(parsed.at("values").at(0).at("analyzer_verdict"), "PASS");
    EXPECT_EQ(parsed.at("values").at(0).at("verdict"), "pass");
    EXPECT_EQ(parsed.at("values").at(1).at("analyzer_verdict"), "FAIL");
    EXPECT_EQ(parsed.at("values").at(1).at("verdict"), "fail");
    EXPECT_GT(parsed.at("values").at(1).at("margin").get<double>(), 0);  // Kelvane's margin stays
}

TEST(RecordJsonLine, WritesNumbersInTheirShortestFormThatReadsBack) {
    const std::pair<double, const char*> cases[] = {
        {-54.77, "-54.77"},
        {-71.25732, "-71.25732"},  // nlohmann's own form: -71.25732000000001
        {0.07093, "0.07093"},
        {0.1 + 0.2, "0.30000000000000004"},
        {4167031, "4167031"},
        {1996.49e6, "1996490000"},
        {2e9, "2000000000"},
        {1e-300, "1e-300"},
        {1e15, "1e+15"},
        {5e-324, "5e-324"},
        {1.7976931348623157e308, "1.7976931348623157e+308"},
        {-0.0, "-0"},
    };
    for (const auto& [number, text] : cases) {
        const MeasurementResult result =
            Result("", MeasurementOutcome::Completed, {Value("channel_power", number, "dBm")});
        const std::string line = RecordJsonLine(Record("ch-power", result));
        EXPECT_NE(line.find(std::string("\"value\":") + text + ","), std::string::npos) << line;
        EXPECT_EQ(ParseLine(line).at("values").at(0).at("value").get<double>(), number) << text;
    }
}

TEST(RecordJsonLine, ANumberThatIsNotFiniteIsNull) {
    for (double number :
         {std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::infinity()}) {
        const MeasurementResult result =
            Result("", MeasurementOutcome::Completed, {Value("acp_lower_5mhz", number, "dB")});
        const json parsed = ParseLine(RecordJsonLine(Record("acp", result)));
        EXPECT_TRUE(parsed.at("values").at(0).at("value").is_null());
        EXPECT_TRUE(parsed.at("values").at(0).at("margin").is_null());
    }
}

TEST(RecordJsonLine, StrayBytesInTheLogCannotBreakTheRecord) {
    MeasurementResult result = WcdmaMaskResult();
    result.log = "bad \xff byte\r\n\x01\x1b[0m\t\"quoted\" \\ caf\xc3\xa9\r\n";
    result.message = "cut \xc3";  // a UTF-8 sequence cut short
    std::string line;
    ASSERT_NO_THROW(line = RecordJsonLine(Record("sem", result)));
    for (std::size_t i = 0; i + 1 < line.size(); ++i)
        EXPECT_GE(static_cast<unsigned char>(line[i]), 0x20) << "control byte at " << i;
    const json parsed = ParseLine(line);
    EXPECT_EQ(parsed.at("log"),
              "bad \xEF\xBF\xBD byte\r\n\x01\x1b[0m\t\"quoted\" \\ caf\xc3\xa9\r\n");
    EXPECT_EQ(parsed.at("message"), "cut \xEF\xBF\xBD");
}

// The run and the DUT on every row; a value at the DUT beside the analyzer's, a mask row with
// its frequencies, the verdict row with its margin's unit.
TEST(RecordCsvRows, WritesOneRowPerValueAndTheVerdict) {
    EXPECT_EQ(CsvHeader(),
              "started,run_id,dut,measurement,name,value,unit,limit,margin,verdict,analyzer_value,"
              "frequency_hz,start_hz,stop_hz,message\r\n");
    const std::string t = "2026-12-09T14:19:50.123Z,0f8fad5b-d9cb-469f-a165-70867728950e,SN-1,";
    EXPECT_EQ(RecordCsvRows(Record("acp", AcpResult())),
              t + "acp,carrier_power,-10.2,dBm,,,,-10.2,,,,\r\n" +                   //
                  t + "acp,acp_lower_5mhz,-54.75,dB,-45,9.75,pass,-54.75,,,,\r\n" +  //
                  t + "acp,acp_upper_5mhz,-40.5,dB,-45,-4.5,fail,-40.5,,,,\r\n" +    //
                  t + "acp,acp_lower_10mhz,-60.25,dB,-50,10.25,pass,-60.25,,,,\r\n" + t +
                  "acp,acp_upper_10mhz,-61,dB,-50,11,pass,-61,,,,\r\n" +  //
                  t + "acp,verdict,,dB,,-4.5,fail,,,,,\r\n");

    MeasurementRecord mask = Record("sem", WcdmaMaskResult());
    mask.setup.pathLoss = PathLoss::Fixed(30);
    mask.judgement = Judge(mask.result, mask.setup);
    const std::string rows = RecordCsvRows(mask);
    EXPECT_EQ(rows.substr(0, rows.find("\r\n") + 2),
              t + "sem,row_1,-40.29,dBm,-13,27.29,pass,-70.29,1995500000,1992000000,1996000000,"
                  "\r\n");
}

TEST(RecordCsvRows, ARunWithoutValuesStillHasItsVerdictRowAndWhy) {
    MeasurementResult failed = Result("ACP Measurement...", MeasurementOutcome::Failed, {});
    failed.message = "ACP Measurement failed: \"ACP?\" answer 1 has 2 fields, 4 expected";
    failed.log = "ACP Measurement...\r\n" + failed.message + "\r\n";
    EXPECT_EQ(RecordCsvRows(Record("acp", failed)),
              "2026-12-09T14:19:50.123Z,0f8fad5b-d9cb-469f-a165-70867728950e,SN-1,acp,verdict,,,,,"
              "incomplete,,,,,\"ACP Measurement failed: \"\"ACP?\"\" answer 1 has 2 fields, 4 "
              "expected\"\r\n");
}

TEST(RecordCsvRows, QuotesFieldsAsRfc4180Says) {
    MeasurementResult result =
        Result("A, \"B\"", MeasurementOutcome::Completed,
               {Value("odd,name", 1.5, "d\"B"), Value("two\r\nlines", 2, "")});
    result.message = "comma, \"quote\"\r\nand a line";
    result.log = "a,b\r\n\"c\"\r\n";
    MeasurementRecord record = Record("batch,\"name\"", result);
    record.origin.dut = "SN,\"7\"";
    record.runId.clear();
    const std::string t = "2026-12-09T14:19:50.123Z,,\"SN,\"\"7\"\"\",\"batch,\"\"name\"\"\",";
    EXPECT_EQ(RecordCsvRows(record),
              t + "\"odd,name\",1.5,\"d\"\"B\",,,,1.5,,,,\r\n" +  //
                  t + "\"two\r\nlines\",2,,,,,2,,,,\r\n" +        //
                  t + "verdict,,,,,none,,,,,\"comma, \"\"quote\"\"\r\nand a line\"\r\n");
}

TEST(RecordCsvRows, WritesTheStartInUtcWithMilliseconds) {
    using namespace std::chrono;
    const std::pair<system_clock::time_point, const char*> cases[] = {
        {system_clock::time_point{}, "1970-01-01T00:00:00.000Z"},
        {SampleStart() + microseconds{999}, "2026-12-09T14:19:50.123Z"},  // cut, not rounded
        {system_clock::time_point{} - milliseconds{1}, "1969-12-31T23:59:59.999Z"},
        {sys_days{year{2028} / 2 / 29} + hours{23} + minutes{59} + seconds{59} + milliseconds{7},
         "2028-02-29T23:59:59.007Z"},
    };
    for (const auto& [time, text] : cases) {
        MeasurementRecord record = Record("x", Result("", MeasurementOutcome::Failed, {}));
        record.started = time;
        EXPECT_EQ(RecordCsvRows(record).substr(0, 24), text);
        EXPECT_EQ(ParseLine(RecordJsonLine(record)).at("started"), text);
    }
}

TEST(RecordText, WritesTheFormatAsked) {
    const MeasurementRecord record = Record("acp", AcpResult());
    EXPECT_EQ(RecordText(record, RecordFormat::Csv), RecordCsvRows(record));
    EXPECT_EQ(RecordText(record, RecordFormat::JsonLines), RecordJsonLine(record));
}

}  // namespace
}  // namespace kelvane::testing
