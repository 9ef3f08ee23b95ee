#include "report/ReportSummary.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "report/HtmlEscape.h"
#include "report/ReportCells.h"
#include "report/ReportSection.h"
#include "results/RecordFields.h"
#include "results/UtcTime.h"
#include "results/VerdictText.h"

namespace kelvane {

namespace {

std::size_t Count(const std::vector<MeasurementRecord>& records, Verdict verdict) {
    return static_cast<std::size_t>(std::count_if(
        records.begin(), records.end(),
        [verdict](const MeasurementRecord& r) { return r.judgement.verdict == verdict; }));
}

std::string CountsText(const std::vector<MeasurementRecord>& records) {
    const std::size_t total = records.size();
    return std::to_string(total) + (total == 1 ? " measurement: " : " measurements: ") +
           std::to_string(Count(records, Verdict::Pass)) + " PASS, " +
           std::to_string(Count(records, Verdict::Fail)) + " FAIL, " +
           std::to_string(Count(records, Verdict::Incomplete)) + " INCOMPLETE, " +
           std::to_string(Count(records, Verdict::None)) + " without a limit";
}

// The time of day (UTC) only, "14:19:50": the date is in the report's head.
std::string ClockText(std::chrono::system_clock::time_point time) {
    const UtcTime t = UtcTimeOf(time);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    return text;
}

std::string Link(std::size_t number, const MeasurementRecord& record) {
    return "<a href=\"#m" + std::to_string(number) + "\">" + std::to_string(number) + ". " +
           MeasurementCaptionHtml(record) + "</a>";
}

std::string TableHtml(const std::vector<MeasurementRecord>& records) {
    std::string html =
        "<table class=\"summary\">\n<thead><tr><th>Measurement</th><th>Verdict</th>"
        "<th>Worst margin</th><th>Started (UTC)</th><th>Duration</th></tr></thead>\n<tbody>\n";
    for (std::size_t i = 0; i < records.size(); ++i) {
        const MeasurementRecord& record = records[i];
        const bool failed = record.judgement.verdict == Verdict::Fail;
        html += failed ? "<tr class=\"fail\">" : "<tr>";
        html += "<td>" + Link(i + 1, record) + " <span class=\"name\">(" +
                HtmlEscaped(record.measurement) + ")</span></td>";
        html += "<td>" + VerdictBadge(record.judgement.verdict) + "</td>";
        html += "<td class=\"number\">" + WorstMarginText(record.judgement) + "</td>";
        html += "<td class=\"number\">" + ClockText(record.started) + "</td>";
        html += "<td class=\"number\">" + DurationText(record.durationS) + "</td></tr>\n";
    }
    return html + "</tbody>\n</table>\n";
}

// One item per measurement that failed, warned, was interrupted or was not judged in full.
std::string ProblemsHtml(const std::vector<MeasurementRecord>& records,
                         const std::vector<std::string>& notMeasured) {
    std::string items;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const MeasurementRecord& record = records[i];
        const MeasurementResult& result = record.result;
        const std::string notPassed = NotPassedText(record.judgement);
        if (result.outcome == MeasurementOutcome::Completed && notPassed.empty()) continue;
        std::string parts;
        if (result.outcome != MeasurementOutcome::Completed)
            parts = "<strong>" + std::string(OutcomeName(result.outcome)) + "</strong> <code>" +
                    HtmlEscapedLatin1(result.message) + "</code>";
        // An incomplete verdict's reason is mostly the failure line itself: said once.
        const bool repeatsLine =
            !result.message.empty() && notPassed.find(result.message) != std::string::npos;
        if (!notPassed.empty() && !repeatsLine)
            parts += (parts.empty() ? "" : "; ") + HtmlEscapedLatin1(notPassed);
        items += "<li>" + Link(i + 1, record) + ": " + parts + "</li>\n";
    }
    if (!notMeasured.empty()) {
        std::string names;
        for (const std::string& name : notMeasured)
            names += (names.empty() ? "" : ", ") + HtmlEscaped(name);
        items += "<li><strong>not measured</strong>: " + names + " (the run ended before " +
                 (notMeasured.size() == 1 ? "it" : "them") + ")</li>\n";
    }
    if (items.empty()) return "<p>No failures or warnings.</p>\n";
    return "<h3>Failures and warnings</h3>\n<ul class=\"problems\">\n" + items + "</ul>\n";
}

}  // namespace

Verdict OverallVerdict(const std::vector<MeasurementRecord>& records,
                       const std::vector<std::string>& notMeasured) {
    if (Count(records, Verdict::Fail) > 0) return Verdict::Fail;
    if (records.empty() || !notMeasured.empty() || Count(records, Verdict::Incomplete) > 0)
        return Verdict::Incomplete;
    return Count(records, Verdict::Pass) > 0 ? Verdict::Pass : Verdict::None;
}

std::string SummaryHtml(const std::vector<MeasurementRecord>& records,
                        const std::vector<std::string>& notMeasured) {
    std::string html = "<section class=\"summary\" id=\"summary\">\n<h2>Summary</h2>\n";
    html += "<p class=\"overall\">Overall: " + VerdictBadge(OverallVerdict(records, notMeasured)) +
            " <span class=\"note\">" + CountsText(records) + "</span></p>\n";
    if (records.empty()) {
        html += "<p>No measurement was made.</p>\n";
    } else {
        html += TableHtml(records);
    }
    html += ProblemsHtml(records, notMeasured);
    return html + "</section>\n";
}

}  // namespace kelvane
