#include "results/RunSummary.h"

#include <algorithm>
#include <cmath>

#include "measurements/NumberForms.h"

namespace kelvane {

namespace {

// The numbers one value had over the runs, in the order of the runs.
struct ValueSeries {
    std::string name;
    std::string unit;
    std::vector<double> numbers;
};

std::string Count(int count, const char* what) { return std::to_string(count) + " " + what; }

std::string Heading(const std::vector<MeasurementRecord>& runs) {
    int verdicts[4] = {};  // by Verdict
    int outcomes[4] = {};  // by MeasurementOutcome
    bool limited = false;
    for (const MeasurementRecord& run : runs) {
        ++verdicts[static_cast<int>(run.judgement.verdict)];
        ++outcomes[static_cast<int>(run.result.outcome)];
        for (const JudgedValue& value : run.judgement.values) limited = limited || value.passed;
    }
    const MeasurementRecord& first = runs.front();
    std::string heading = "Summary of " + std::to_string(runs.size()) +
                          (runs.size() == 1 ? " run" : " runs") + " of " + first.measurement +
                          " (" + first.result.title + "): ";
    if (limited) {
        heading += Count(verdicts[static_cast<int>(Verdict::Pass)], "pass, ") +
                   Count(verdicts[static_cast<int>(Verdict::Fail)], "fail, ") +
                   Count(verdicts[static_cast<int>(Verdict::Incomplete)], "incomplete");
        const int none = verdicts[static_cast<int>(Verdict::None)];
        if (none > 0) heading += ", " + Count(none, "without a limited value");
    } else {
        heading +=
            Count(outcomes[static_cast<int>(MeasurementOutcome::Completed)], "completed, ") +
            Count(outcomes[static_cast<int>(MeasurementOutcome::Warning)], "with a warning, ") +
            Count(outcomes[static_cast<int>(MeasurementOutcome::Failed)] +
                      outcomes[static_cast<int>(MeasurementOutcome::Interrupted)],
                  "failed");
    }
    return heading + "\r\n";
}

// Every value that had a number in a run that logged its results (completed, or ended with a
// warning), in the order of their first appearance.
std::vector<ValueSeries> CollectSeries(const std::vector<MeasurementRecord>& runs) {
    std::vector<ValueSeries> series;
    for (const MeasurementRecord& run : runs) {
        if (run.result.outcome == MeasurementOutcome::Failed ||
            run.result.outcome == MeasurementOutcome::Interrupted)
            continue;
        for (const MeasuredValue& value : run.result.values) {
            if (!std::isfinite(value.value)) continue;
            auto found = std::find_if(series.begin(), series.end(),
                                      [&](const ValueSeries& s) { return s.name == value.name; });
            if (found == series.end()) {
                series.push_back({value.name, value.unit, {}});
                found = series.end() - 1;
            }
            found->numbers.push_back(value.value);
        }
    }
    return series;
}

std::string SeriesLine(const ValueSeries& series) {
    const std::vector<double>& numbers = series.numbers;
    const auto count = static_cast<double>(numbers.size());
    double sum = 0;
    for (double number : numbers) sum += number;
    const double mean = sum / count;
    double squares = 0;
    for (double number : numbers) squares += (number - mean) * (number - mean);
    const double deviation = numbers.size() > 1 ? std::sqrt(squares / (count - 1)) : 0.0;
    const auto [minimum, maximum] = std::minmax_element(numbers.begin(), numbers.end());

    // Frequencies in MHz with 4 decimals, levels with 2.
    const bool hertz = series.unit == "Hz";
    const double scale = hertz ? 1e-6 : 1.0;
    const std::string unit = hertz ? " MHz" : series.unit.empty() ? "" : " " + series.unit;
    const auto shown = [&](double number) {
        return PatternNumber(number * scale, hertz ? "#0.0000" : "#0.00") + unit;
    };
    return "  " + series.name + ": min " + shown(*minimum) + ", mean " + shown(mean) + ", max " +
           shown(*maximum) + ", std dev " + shown(deviation) + " (" +
           Count(static_cast<int>(numbers.size()), numbers.size() == 1 ? "run" : "runs") + ")\r\n";
}

}  // namespace

std::string RunSummary(const std::vector<MeasurementRecord>& runs) {
    if (runs.empty()) return {};
    std::string text = "\r\n" + Heading(runs);
    for (const ValueSeries& series : CollectSeries(runs)) text += SeriesLine(series);
    return text;
}

}  // namespace kelvane
