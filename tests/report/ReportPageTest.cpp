// What a report's page holds: every value with its limit, margin and verdict in the units a bench
// reads, mask rows with their frequencies, the analyzer's values behind a path loss, the head's
// facts, the summary, failures and what was not measured; the charts as the build gives them;
// and nothing that loads, runs or lets a record's text become markup.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "report/ReportPage.h"
#include "tests/report/ReportHtmlParts.h"
#include "tests/results/SampleRecords.h"

namespace kelvane {
namespace {

using namespace kelvane::testing;
using Rows = std::vector<std::vector<std::string>>;

const std::string kPass = "\u2713 PASS";
const std::string kFail = "\u2717 FAIL";
const std::string kNoLimit = "\u2013 no limit";

MeasurementRecord WcdmaMaskBehind30Db() {
    MeasurementRecord record = Record("sem", WcdmaMaskResult());
    record.setup.pathLoss = PathLoss::Fixed(30);
    record.judgement = Judge(record.result, record.setup);
    return record;
}

// An 802.11a mask on a -10 dBm peak: a row the analyzer failed below the mask, a row inside the
// channel.
MeasurementRecord Wlan11a() {
    MeasurementResult result = Result("SEM Measurement...", MeasurementOutcome::Completed,
                                      {Row(1, 4966e6, 4975e6, 4973.85e6, -73.41, -48.41, true),
                                       Row(2, 4975e6, 4985e6, 4984.85e6, -58.21, -33.2, false),
                                       Row(5, 4996e6, 5005e6, 5002.5e6, -24.8, 0.2, true)},
                                      5005e6, Wlan11aMask(-10));
    result.maskOnMeasuredPeak = true;
    return Record("sem-11a", result);
}

TEST(ReportPage, EveryValueWithItsLimitMarginAndVerdict) {
    struct Case {
        const char* what;
        MeasurementRecord record;
        Rows rows;  // name, [start, stop, freq (MHz)], value, unit, limit, margin, verdict, ...
    };
    const Case cases[] = {
        {"ACP, one channel over its limit",
         Record("acp", AcpResult()),
         {{"carrier_power", "-10.2", "dBm", "", "", kNoLimit},
          {"acp_lower_5mhz", "-54.75", "dB", "-45", "+9.75", kPass},
          {"acp_upper_5mhz", "-40.5", "dB", "-45", "-4.50", kFail},
          {"acp_lower_10mhz", "-60.25", "dB", "-50", "+10.25", kPass},
          {"acp_upper_10mhz", "-61", "dB", "-50", "+11.00", kPass}}},
        {"OBW in MHz",
         Record("obw", Result("OBW Measurement...", MeasurementOutcome::Completed,
                              {Value("occupied_bandwidth", 4167342, "Hz"),
                               Value("occupied_band_center", 1999999686, "Hz")})),
         {{"occupied_bandwidth", "4.167342", "MHz", "5", "+0.833", kPass},
          {"occupied_band_center", "1999.999686", "MHz", "", "", kNoLimit}}},
        {"W-CDMA mask behind 30 dB: at the DUT, and as the analyzer saw it",
         WcdmaMaskBehind30Db(),
         {{"row_1", "1992", "1996", "1995.5", "-40.29", "dBm", "-13", "+27.29", kPass, "-70.29"},
          // The mask's slope from -14 to -26 dBm between 2.715 and 3.515 MHz, read at FREQ.
          {"row_2", "1996.49", "1997.29", "1997.26", "-47.87", "dBm", "-14.38", "+33.50", kPass,
           "-77.87"},
          {"row_3", "2002.72", "2003.52", "2002.77", "-48.49", "dBm", "-14.83", "+33.67", kPass,
           "-78.49"}}},
        {"802.11a rows with the analyzer's word, one inside the channel",
         Wlan11a(),
         {{"row_1", "4966", "4975", "4973.85", "-73.41", "dBm", "-48", "+25.41", kPass, "PASS"},
          {"row_2", "4975", "4985", "4984.85", "-58.21", "dBm", "-36.18", "+22.03", kFail, "FAIL"},
          {"row_5", "4996", "5005", "5002.5", "-24.8", "dBm", "-8", "+16.80 *", kPass, "PASS"}}},
    };
    for (const Case& c : cases) {
        const std::string html = ReportHtml({c.record}, {}, {});
        EXPECT_EQ(TableRows(SectionOf(html, 1)), c.rows) << c.what;
    }
}

TEST(ReportPage, TheHeadNamesTheDutTheBenchAndTheRun) {
    MeasurementRecord acp = Record("acp", AcpResult());
    acp.setup.bsPowerDbm = 43;
    acp.setup.pathLoss = PathLoss::Table({{1e9, 1}, {3e9, 2}}, "cal/<loss>.csv");
    ReportFacts facts;
    facts.version = "1.2.0";
    facts.ended = SampleStart() + std::chrono::seconds(70);
    const std::string html = ReportHtml({acp}, facts, {});
    const std::pair<const char*, const char*> kFacts[] = {
        {"DUT", "SN-1"},
        {"Operator", "Ana"},
        {"Station", "bench-7"},
        {"Run", "2026-12-09 14:19:50 UTC to 2026-12-09 14:21:00 UTC"},
        {"Kelvane", "1.2.0"},
        {"Analyzer", "simulated analyzer (board 1, address 18)"},
        {"Carriers", "W-CDMA 2000 MHz, 802.11a 5005 MHz, 802.11b 2412 MHz"},
        {"Reference level", "10 dBm"},
        {"Path loss", "table cal/<loss>.csv (2 frequencies, read linearly); levels at the DUT"},
        {"Limits",
         "OBW below 5 MHz; ACP -45 dB at \u00B15 MHz, -50 dB at \u00B110 MHz; W-CDMA "
         "emission mask: the mask for a base station of 43 dBm; WLAN masks: from the "
         "measured peak"},
        {"Run id", "0f8fad5b-d9cb-469f-a165-70867728950e"},
    };
    for (const auto& [term, shown] : kFacts) {
        const std::string dt = std::string("<dt>") + term + "</dt><dd>";
        const std::size_t at = html.find(dt);
        ASSERT_NE(at, std::string::npos) << term;
        const std::size_t begin = at + dt.size();
        EXPECT_EQ(HtmlTextOf(html.substr(begin, html.find("</dd>", begin) - begin)), shown);
    }
}

TEST(ReportPage, SummaryFailuresAndWhatWasNotMeasured) {
    MeasurementResult failed = Result("OBW Measurement...", MeasurementOutcome::Failed, {});
    failed.message = "OBW Measurement failed: \"OBW?\" answer stopped after 13 bytes";
    ReportFacts facts;
    facts.planned = {"acp", "obw", "sem", "sem-11a"};
    const std::string html =
        ReportHtml({Record("acp", AcpResult()), Record("obw", failed)}, facts, {});
    const std::string text = HtmlTextOf(html);
    EXPECT_NE(text.find("Overall: \u2717 FAIL 2 measurements: 0 PASS, 1 FAIL, 1 INCOMPLETE"),
              std::string::npos);
    const Rows summary = TableRows(html.substr(html.find("<table class=\"summary\"")));
    ASSERT_GE(summary.size(), 2u);
    EXPECT_EQ(summary[0],
              (std::vector<std::string>{"1. ACP (acp)", kFail, "-4.50 dB", "14:19:50", "4.25 s"}));
    EXPECT_EQ(summary[1],
              (std::vector<std::string>{"2. OBW (obw)", "? INCOMPLETE", "", "14:19:50", "4.25 s"}));
    for (const char* line :
         {"1. ACP: FAIL, worst margin -4.50 dB (acp_upper_5mhz -40.50 dB, limit -45 dB)",
          "2. OBW: failed OBW Measurement failed: \"OBW?\" answer stopped after 13 bytes",
          "not measured: sem, sem-11a (the run ended before them)"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line;
    }
    EXPECT_NE(HtmlTextOf(SectionOf(html, 2)).find("Failed: OBW Measurement failed:"),
              std::string::npos);
}

TEST(ReportPage, ChartsAsTheBuildGivesThem) {
    const std::vector<MeasurementRecord> records{
        Record("ch-power", Result("CH Power Measurement...", MeasurementOutcome::Completed,
                                  {Value("channel_power", -10.2, "dBm")})),
        Record("acp", AcpResult())};
    struct Case {
        const char* what;
        ChartSvgSource source;
        const char* acpShows;
    };
    const Case cases[] = {
        {"a build without the drawing", {}, "Charts are not available in this build."},
        {"a chart that could not be drawn", [](const ChartModel&) { return std::string(); },
         "The chart could not be drawn."},
        {"something that is no SVG", [](const ChartModel&) { return std::string("<p>x</p>"); },
         "The chart could not be drawn."},
        {"the chart",
         [](const ChartModel& model) { return "<svg><title>" + model.title + "</title></svg>"; },
         "<figure class=\"chart\">\n<svg><title>ACP: FAIL, worst margin -4.50 dB</title></svg>"},
    };
    for (const Case& c : cases) {
        const std::string html = ReportHtml(records, {}, c.source);
        EXPECT_NE(SectionOf(html, 2).find(c.acpShows), std::string::npos) << c.what;
        // Channel power is a single number: no chart, and no note about one.
        EXPECT_EQ(SectionOf(html, 1).find("chart"), std::string::npos) << c.what;
    }
}

TEST(ReportPage, NothingFromARecordBecomesMarkup) {
    MeasurementRecord record = Record("acp", AcpResult());
    record.origin = {"<img src=x onerror=alert(1)>", "O'Brien \"Bo\"", "bench</title>\xE9"};
    record.result.outcome = MeasurementOutcome::Warning;
    record.result.message = "Warning: <script>alert(2)</script> \xB5";
    record.result.log = "ACP Measurement...\r\n</pre><script>alert(3)</script>\r\nafter\r\n";
    const std::string html = ReportHtml({record}, {}, {});
    // Nothing of it is left as it came (none of it is in the report's own markup either).
    for (const char* markup : {"<img", "<script", "</title>\xE9", "O'Brien", "\"Bo\""})
        EXPECT_EQ(html.find(markup), std::string::npos) << markup;
    EXPECT_NE(html.find("&lt;img src=x onerror=alert(1)&gt;"), std::string::npos);
    EXPECT_NE(html.find("O&#39;Brien &quot;Bo&quot;"), std::string::npos);
    EXPECT_NE(html.find("bench&lt;/title&gt;\\xE9"), std::string::npos);
    EXPECT_NE(html.find("Warning: &lt;script&gt;alert(2)&lt;/script&gt; \xC2\xB5"),
              std::string::npos);
    // The log's <pre> ends where the report ends it, after the whole log.
    const std::size_t pre = html.find("<pre class=\"log\"");
    ASSERT_NE(pre, std::string::npos);
    const std::string log = html.substr(pre, html.find("</pre>", pre) - pre);
    EXPECT_NE(log.find("&lt;/pre&gt;&lt;script&gt;alert(3)&lt;/script&gt;\nafter"),
              std::string::npos);
}

TEST(ReportPage, APageThatLoadsAndRunsNothing) {
    const std::string html = ReportHtml({Record("acp", AcpResult())}, {}, {});
    EXPECT_TRUE(html.starts_with("<!DOCTYPE html>\n<html lang=\"en\">"));
    EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(html.find("content=\"default-src 'none'; style-src 'unsafe-inline'"),
              std::string::npos);
    for (const char* outside :
         {"<script", "<link", "<img", "<iframe", "src=", "url(", "@import", "http:", "https:"})
        EXPECT_EQ(html.find(outside), std::string::npos) << outside;
    for (std::size_t at = html.find("href=\""); at != std::string::npos;
         at = html.find("href=\"", at + 1))
        EXPECT_EQ(html.substr(at, 8), "href=\"#m") << "a link to its own sections only";
}

TEST(ReportPage, WhatDiffersFromTheHeadIsSaidInItsSection) {
    MeasurementRecord first = Record("acp", AcpResult());
    MeasurementRecord second = Record("acp", AcpResult());
    second.origin.dut = "SN-2";
    second.setup.referenceLevelDbm = -5;
    second.started += std::chrono::minutes(5);
    const std::string html = ReportHtml({first, second}, {}, {});
    // The head is the newest record's; the first section says where it differs.
    EXPECT_NE(html.find("<h1>DUT SN-2</h1>"), std::string::npos);
    const std::string older = HtmlTextOf(SectionOf(html, 1));
    EXPECT_NE(older.find("DUT SN-1, operator Ana, station bench-7"), std::string::npos);
    EXPECT_NE(older.find("reference level 10 dBm"), std::string::npos);
    EXPECT_EQ(HtmlTextOf(SectionOf(html, 2)).find("Set-up of this measurement"), std::string::npos);
    EXPECT_NE(html.find("2026-12-09 14:19:50 UTC to 2026-12-09 14:24:54 UTC"), std::string::npos);
}

}  // namespace
}  // namespace kelvane
