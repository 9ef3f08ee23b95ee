#include "simulator/traces/MaskEvaluator.h"

#include <algorithm>
#include <cmath>

#include "simulator/traces/TracePower.h"

namespace kelvane {

namespace {

MaskRecord EvaluateSide(const MaskTableRow& segment, int number, bool upper, double centerHz,
                        double referenceDbm, const MaskEvaluator::SegmentSweep& sweep) {
    MaskRecord record;
    record.segment = number;
    record.upperSide = upper;
    record.startHz = upper ? centerHz + segment.startOffsetHz : centerHz - segment.stopOffsetHz;
    record.stopHz = upper ? centerHz + segment.stopOffsetHz : centerHz - segment.startOffsetHz;
    // The measurement filter stays inside its segment.
    const double inset = std::min(segment.rbwHz, record.stopHz - record.startHz) / 2.0;
    const double firstHz = record.startHz + inset;
    const double lastHz = record.stopHz - inset;
    const int points = MaskEvaluator::SegmentPoints(lastHz - firstHz, segment.rbwHz);
    const Trace& trace =
        sweep(firstHz, lastHz, points, segment.rbwHz, 2 * number + (upper ? 1 : 0));

    const std::size_t peak = TracePower::PeakIndex(trace);
    record.peakHz = trace.FrequencyHz(peak);
    record.absoluteDbm = TracePower::Dbm(trace.powerMw[peak]);
    record.relativeDb = record.absoluteDbm - referenceDbm;

    const double width = segment.stopOffsetHz - segment.startOffsetHz;
    const double base = segment.absolute ? 0.0 : referenceDbm;
    for (std::size_t i = 0; i < trace.powerMw.size(); ++i) {
        const double offset = std::abs(trace.FrequencyHz(i) - centerHz);
        const double t =
            width > 0.0 ? std::clamp((offset - segment.startOffsetHz) / width, 0.0, 1.0) : 0.0;
        const double limit =
            base + segment.startLevelDb + t * (segment.stopLevelDb - segment.startLevelDb);
        if (TracePower::Dbm(trace.powerMw[i]) > limit) {
            record.pass = false;
            break;
        }
    }
    return record;
}

}  // namespace

std::vector<MaskRecord> MaskEvaluator::Evaluate(const std::vector<MaskTableRow>& table,
                                                double centerHz, double referenceDbm,
                                                const SegmentSweep& sweep) {
    std::vector<MaskTableRow> sorted = table;
    std::stable_sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) {
        return a.startOffsetHz < b.startOffsetHz;
    });
    std::vector<MaskRecord> records;
    records.reserve(2 * sorted.size());
    for (std::size_t i = sorted.size(); i-- > 0;)
        records.push_back(
            EvaluateSide(sorted[i], static_cast<int>(i) + 1, false, centerHz, referenceDbm, sweep));
    for (std::size_t i = 0; i < sorted.size(); ++i)
        records.push_back(
            EvaluateSide(sorted[i], static_cast<int>(i) + 1, true, centerHz, referenceDbm, sweep));
    return records;
}

int MaskEvaluator::SegmentPoints(double widthHz, double rbwHz) {
    const double perRbw = rbwHz > 0.0 ? std::ceil(2.0 * widthHz / rbwHz) + 1.0 : 21.0;
    return static_cast<int>(std::clamp(perRbw, 21.0, 1001.0));
}

}  // namespace kelvane
