// The cost of keeping one result: judging a 10-row emission mask result against its mask, and
// writing its record, log included, to a results file (JSON Lines or CSV), each record appended
// and flushed to the system as the batch run does after every measurement.

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include <benchmark/benchmark.h>

#include "results/Judgement.h"
#include "results/RecordFormats.h"
#include "results/ResultsFile.h"

namespace kelvane {
namespace {

// An 802.11a emission mask result at 5005 MHz, peak -10 dBm: the five segments on both sides,
// one row each with the analyzer's verdict, and the log the measurement wrote.
MeasurementResult MaskResult() {
    MeasurementResult result;
    result.title = "SEM (11a) Measurement...";
    result.outcome = MeasurementOutcome::Completed;
    result.centerHz = 5005e6;
    const double p = -8;  // the peak, raised by 2 dB
    result.mask = {{0, 9e6, p, p},
                   {9e6, 11e6, p, p - 20},
                   {11e6, 20e6, p - 20, p - 28},
                   {20e6, 30e6, p - 28, p - 40},
                   {30e6, 39e6, p - 40, p - 40}};
    result.log = result.title + "\r\nSTART, STOP, FREQ, ABS LEV, REL LEV, RESULT\r\n";
    int number = 0;
    for (int side : {-1, 1}) {
        for (int i = 0; i < 5; ++i) {
            const MaskSegment& segment =
                result.mask[static_cast<std::size_t>(side < 0 ? 4 - i : i)];
            const double start = result.centerHz + side * segment.startOffsetHz;
            const double stop = result.centerHz + side * segment.stopOffsetHz;
            const double frequency = (start + stop) / 2;
            const double level = segment.stopLevelDbm - 12.34 - 0.01 * number;
            MaskRow row{
                std::min(start, stop), std::max(start, stop), frequency, level, level + 10, true};
            result.values.push_back({"row_" + std::to_string(++number), level, "dBm", row});
            char line[128];
            std::snprintf(line, sizeof line, "%.2f, %.2f, %.2f, %.2f, %.2f, PASS\r\n",
                          row.startHz / 1e6, row.stopHz / 1e6, row.frequencyHz / 1e6, level,
                          level + 10);
            result.log += line;
        }
    }
    return result;
}

MeasurementRecord MaskRecord() {
    MeasurementRecord record;
    record.measurement = "sem-11a";
    record.started = std::chrono::system_clock::now();
    record.durationS = 2.5;
    record.bus = "simulated";
    record.version = "bench";
    record.result = MaskResult();
    record.judgement = Judge(record.result);
    return record;
}

void BM_JudgeMaskResult(benchmark::State& state) {
    const MeasurementResult result = MaskResult();
    for (auto _ : state) benchmark::DoNotOptimize(Judge(result));
}
BENCHMARK(BM_JudgeMaskResult)->Unit(benchmark::kMicrosecond);

void BM_FormatMaskRecord(benchmark::State& state) {
    const auto format = static_cast<RecordFormat>(state.range(0));
    state.SetLabel(format == RecordFormat::Csv ? "csv" : "json");
    const MeasurementRecord record = MaskRecord();
    for (auto _ : state) benchmark::DoNotOptimize(RecordText(record, format));
}
BENCHMARK(BM_FormatMaskRecord)
    ->Arg(static_cast<int>(RecordFormat::JsonLines))
    ->Arg(static_cast<int>(RecordFormat::Csv))
    ->Unit(benchmark::kMicrosecond);

// Judging and appending one record to a file in the temporary folder, as after a measurement.
void BM_JudgeAndWriteMaskRecord(benchmark::State& state) {
    const bool csv = state.range(0) == static_cast<int>(RecordFormat::Csv);
    state.SetLabel(csv ? "csv" : "json");
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("kelvane-record-bench-" + std::to_string(stamp) + (csv ? ".csv" : ".jsonl"));
    MeasurementRecord record = MaskRecord();
    {
        ResultsFile file(path.string());
        if (!file.IsOpen()) state.SkipWithError(file.Failure().c_str());
        for (auto _ : state) {
            if (!file.IsOpen()) break;
            record.judgement = Judge(record.result);
            if (!file.Write(record)) state.SkipWithError(file.Failure().c_str());
        }
        state.counters["bytes/record"] =
            static_cast<double>((csv ? RecordCsvRows(record) : RecordJsonLine(record)).size());
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_JudgeAndWriteMaskRecord)
    ->Arg(static_cast<int>(RecordFormat::JsonLines))
    ->Arg(static_cast<int>(RecordFormat::Csv))
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kelvane
