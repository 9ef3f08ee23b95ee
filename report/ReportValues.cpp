#include "report/ReportValues.h"

#include <algorithm>

#include "report/HtmlEscape.h"
#include "report/ReportCells.h"

namespace kelvane {

namespace {

std::string Cell(const std::string& html, bool number = true) {
    return number ? "<td class=\"number\">" + html + "</td>" : "<td>" + html + "</td>";
}

// Whether the analyzer's value differs from the one judged (an absolute level behind a path
// loss), so that both are shown.
bool Moved(const JudgedValue& value) { return value.value != value.measured.value; }

// Which columns a table has beside those of every value.
struct Columns {
    bool rows = false;           // START, STOP, FREQ of mask rows
    bool analyzerWord = false;   // the analyzer's own PASS or FAIL of a WLAN mask row
    bool analyzerValue = false;  // the analyzer's value behind a path loss
};

std::string AnalyzerWord(const JudgedValue& value) {
    const auto& row = value.measured.row;
    if (!row || !row->analyzerPassed) return {};
    return *row->analyzerPassed ? "PASS" : "<strong>FAIL</strong>";
}

std::string RowHtml(const JudgedValue& value, const Columns& columns) {
    const MeasuredValue& measured = value.measured;
    const bool failed = value.passed && !*value.passed;
    std::string html = failed ? "<tr class=\"fail\">" : "<tr>";
    html += Cell("<code>" + HtmlEscaped(measured.name) + "</code>", false);
    if (columns.rows) {
        if (measured.row) {
            html += Cell(FrequencyText(measured.row->startHz));
            html += Cell(FrequencyText(measured.row->stopHz));
            html += Cell(FrequencyText(measured.row->frequencyHz));
        } else {
            html += Cell("") + Cell("") + Cell("");
        }
    }
    html += Cell(ValueText(value.value, measured.unit));
    html += Cell(HtmlEscaped(ShownUnit(measured.unit)), false);
    html += Cell(LimitText(value.limit, measured.unit));
    // A row inside the channel is judged, but its margin is not the measurement's worst.
    html += Cell(MarginText(value.margin, measured.unit) +
                 (value.inChannel && value.margin ? "&nbsp;*" : ""));
    html += Cell(ValueVerdictCell(value), false);
    if (columns.analyzerWord) html += Cell(AnalyzerWord(value), false);
    if (columns.analyzerValue)
        html += Cell(Moved(value) ? ValueText(measured.value, measured.unit) : "");
    return html + "</tr>\n";
}

}  // namespace

std::string ValuesTableHtml(const MeasurementRecord& record) {
    const std::vector<JudgedValue>& values = record.judgement.values;
    if (values.empty()) return "<p class=\"note\">No value was logged.</p>\n";
    const auto any = [&values](auto predicate) {
        return std::any_of(values.begin(), values.end(), predicate);
    };
    Columns columns;
    columns.rows = any([](const JudgedValue& v) { return v.measured.row.has_value(); });
    columns.analyzerWord = any([](const JudgedValue& v) { return !AnalyzerWord(v).empty(); });
    columns.analyzerValue = !record.setup.pathLoss.IsNone() && any(Moved);
    std::string html = "<table class=\"values\">\n<thead><tr><th>Name</th>";
    if (columns.rows) html += "<th>Start (MHz)</th><th>Stop (MHz)</th><th>Freq (MHz)</th>";
    html += columns.analyzerValue ? "<th>At the DUT</th>" : "<th>Value</th>";
    html += "<th>Unit</th><th>Limit</th><th>Margin</th><th>Verdict</th>";
    if (columns.analyzerWord) html += "<th>Analyzer</th>";
    if (columns.analyzerValue) html += "<th>At the analyzer</th>";
    html += "</tr></thead>\n<tbody>\n";
    for (const JudgedValue& value : values) html += RowHtml(value, columns);
    html += "</tbody>\n</table>\n";
    if (any([](const JudgedValue& v) { return v.inChannel && v.margin; })) {
        html +=
            "<p class=\"note\">* inside the channel, where the mask rests above the measured "
            "peak: judged, but not counted for the worst margin.</p>\n";
    }
    return html;
}

}  // namespace kelvane
