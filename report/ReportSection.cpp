#include "report/ReportSection.h"

#include <cstdio>

#include "charts/RecordChart.h"
#include "measurements/MeasurementCatalog.h"
#include "measurements/NumberForms.h"
#include "report/HtmlEscape.h"
#include "report/ReportCells.h"
#include "report/ReportHeader.h"
#include "report/ReportValues.h"
#include "results/RecordFields.h"
#include "results/UtcTime.h"
#include "results/VerdictText.h"

namespace kelvane {

namespace {

// What an emission mask's rows were judged against; empty for the other measurements.
std::string MaskLimitsText(const MeasurementRecord& record) {
    const Judgement& judgement = record.judgement;
    switch (judgement.maskLimits) {
    case MaskLimits::None:
        return {};
    case MaskLimits::BsPower:
        return "limits: the base station mask for " +
               GeneralNumber(record.setup.bsPowerDbm.value_or(0)) + " dBm";
    case MaskLimits::Sent:
        break;
    }
    if (!judgement.limitFollowsPathLoss) return "limits: the mask sent";
    return std::string("limits: the mask sent, from the measured peak") +
           (record.setup.pathLoss.IsNone() ? "" : ", raised by the path loss to the DUT");
}

// The run's failure, warning or interruption line, and why a verdict is what it is when it did
// not pass.
std::string ProblemsHtml(const MeasurementRecord& record) {
    std::string html;
    const MeasurementResult& result = record.result;
    if (result.outcome != MeasurementOutcome::Completed || !result.message.empty()) {
        std::string word(OutcomeName(result.outcome));
        word[0] = static_cast<char>(word[0] - 'a' + 'A');
        html += "<p class=\"problem\"><strong>" + word + ":</strong> <code>" +
                HtmlEscapedLatin1(result.message) + "</code></p>\n";
    }
    const Judgement& judgement = record.judgement;
    const bool sameAsLine = judgement.incompleteReason == result.message;
    if (judgement.verdict == Verdict::Fail ||
        (judgement.verdict == Verdict::Incomplete && !sameAsLine)) {
        html += "<p class=\"problem\">" + HtmlEscapedLatin1(NotPassedText(judgement)) + "</p>\n";
    }
    return html;
}

// Whose measurement it was and its set-up, where they are not the report's.
std::string DifferencesHtml(const MeasurementRecord& record, const ReportFacts& facts) {
    std::string html;
    if (facts.origin && record.origin != *facts.origin) {
        html += "<p class=\"note\">DUT " + HtmlEscaped(record.origin.dut) + ", operator " +
                HtmlEscaped(record.origin.operatorName) + ", station " +
                HtmlEscaped(record.origin.station) + "</p>\n";
    }
    if (facts.setup && record.setup != *facts.setup) {
        html += "<p class=\"note\">Set-up of this measurement: " + CarriersText(record.setup) +
                "; reference level " + GeneralNumber(record.setup.referenceLevelDbm) +
                " dBm; path loss " + PathLossHtml(record.setup) + "; " +
                AnalyzerHtml(record.bus, record.setup) + "; " +
                HtmlEscaped(LimitSetText(record.setup)) + "</p>\n";
    }
    return html;
}

std::string ChartHtml(const MeasurementRecord& record, const ChartSvgSource& chartSvg) {
    const auto model = ChartFor(record);
    if (!model) return {};
    if (!chartSvg)
        return "<p class=\"note chart-missing\">Charts are not available in this build.</p>\n";
    const std::string svg = chartSvg(*model);
    // Only a picture of the chart drawing goes into the page, whatever the source returned.
    if (!svg.starts_with("<svg"))
        return "<p class=\"note chart-missing\">The chart could not be drawn.</p>\n";
    return "<figure class=\"chart\">\n" + svg + "\n</figure>\n";
}

std::string LogHtml(const std::string& log) {
    std::size_t begin = 0;
    while (begin < log.size() && (log[begin] == '\r' || log[begin] == '\n')) ++begin;
    std::size_t end = log.size();
    while (end > begin && (log[end - 1] == '\r' || log[end - 1] == '\n')) --end;
    if (begin == end) return {};
    return "<pre class=\"log\" aria-label=\"Log\">" +
           HtmlEscapedLatin1(std::string_view(log).substr(begin, end - begin)) + "</pre>\n";
}

}  // namespace

std::string DurationText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, seconds < 10 ? "%.2f s" : "%.1f s", seconds);
    return text;
}

std::string MeasurementCaptionHtml(const MeasurementRecord& record) {
    const CatalogEntry* entry = FindMeasurement(record.measurement);
    return HtmlEscaped(entry != nullptr ? std::string(entry->caption) : record.measurement);
}

std::string MeasurementSectionHtml(std::size_t number, const MeasurementRecord& record,
                                   const ReportFacts& facts, const ChartSvgSource& chartSvg) {
    const std::string id = "m" + std::to_string(number);
    std::string html = "<section class=\"measurement\" id=\"" + id + "\">\n<h2>";
    html += "<span class=\"number\">" + std::to_string(number) + ".</span> " +
            MeasurementCaptionHtml(record) + " <span class=\"name\">(" +
            HtmlEscaped(record.measurement) + ")</span> " + VerdictBadge(record.judgement.verdict) +
            "</h2>\n";
    std::string line = HtmlEscapedLatin1(record.result.title);
    line += (line.empty() ? "" : " \u00B7 ") + std::string("started ") +
            UtcSecondsText(record.started) + ", " + DurationText(record.durationS);
    if (record.result.centerHz > 0)
        line += " \u00B7 carrier " + GeneralNumber(record.result.centerHz / 1e6) + " MHz";
    if (const std::string worst = WorstMarginText(record.judgement); !worst.empty())
        line += " \u00B7 worst margin " + worst;
    if (const std::string limits = MaskLimitsText(record); !limits.empty())
        line += " \u00B7 " + limits;
    html += "<p class=\"facts\">" + line + "</p>\n";
    html += ProblemsHtml(record);
    html += DifferencesHtml(record, facts);
    html += ValuesTableHtml(record);
    html += ChartHtml(record, chartSvg);
    html += LogHtml(record.result.log);
    return html + "</section>\n";
}

}  // namespace kelvane
