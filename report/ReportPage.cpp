#include "report/ReportPage.h"

#include <chrono>

#include "report/HtmlEscape.h"
#include "report/ReportHeader.h"
#include "report/ReportSection.h"
#include "report/ReportStyle.h"
#include "report/ReportSummary.h"

namespace kelvane {

namespace {

// Nothing but the page's own style may load or run: no script, no outside file, font or address,
// also where something got past the escaping.
constexpr const char* kPolicy = "default-src 'none'; style-src 'unsafe-inline'; img-src data:";

std::chrono::system_clock::time_point EndOf(const MeasurementRecord& record) {
    const auto duration = std::chrono::duration<double>(record.durationS);
    return record.started +
           std::chrono::duration_cast<std::chrono::system_clock::duration>(duration);
}

}  // namespace

ReportFacts FilledFacts(const std::vector<MeasurementRecord>& records, ReportFacts facts) {
    if (records.empty()) return facts;
    const MeasurementRecord& newest = records.back();
    if (facts.version.empty()) facts.version = newest.version;
    if (!facts.started) facts.started = records.front().started;
    if (!facts.ended) facts.ended = EndOf(newest);
    if (!facts.origin) facts.origin = newest.origin;
    if (!facts.setup) facts.setup = newest.setup;
    if (facts.bus.empty()) facts.bus = newest.bus;
    return facts;
}

std::string ReportHtml(const std::vector<MeasurementRecord>& records, const ReportFacts& given,
                       const ChartSvgSource& chartSvg) {
    const ReportFacts facts = FilledFacts(records, given);
    std::vector<std::string> notMeasured;
    if (facts.planned.size() > records.size())
        notMeasured.assign(facts.planned.begin() + static_cast<std::ptrdiff_t>(records.size()),
                           facts.planned.end());
    const std::string dut = facts.origin ? facts.origin->dut : std::string();
    const std::string runId = records.empty() ? std::string() : records.back().runId;

    std::string html;
    html.reserve(64 * 1024 + records.size() * 48 * 1024);
    html += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
    html +=
        std::string("<meta http-equiv=\"Content-Security-Policy\" content=\"") + kPolicy + "\">\n";
    html += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
    html += "<meta name=\"generator\" content=\"Kelvane " + HtmlEscaped(facts.version) + "\">\n";
    html += "<title>Test report" + (dut.empty() ? std::string() : " " + HtmlEscaped(dut)) +
            " (Kelvane)</title>\n<style>";
    html += ReportStyleSheet();
    html += "</style>\n</head>\n<body>\n";
    html += ReportHeaderHtml(facts, runId);
    html += SummaryHtml(records, notMeasured);
    for (std::size_t i = 0; i < records.size(); ++i)
        html += MeasurementSectionHtml(i + 1, records[i], facts, chartSvg);
    html +=
        "<footer><p>Kelvane " + HtmlEscaped(facts.version) + " \u00B7 " +
        std::to_string(records.size()) + (records.size() == 1 ? " measurement" : " measurements") +
        (runId.empty() ? std::string() : " \u00B7 run <code>" + HtmlEscaped(runId) + "</code>") +
        "</p></footer>\n</body>\n</html>\n";
    return html;
}

}  // namespace kelvane
