#include "simulator/traces/MeasurementEngine.h"

#include <algorithm>
#include <cmath>

#include "simulator/traces/TraceNoise.h"
#include "simulator/traces/TracePower.h"

namespace kelvane {

MeasurementEngine::MeasurementEngine(const SimulatorOptions& options, std::uint32_t seed,
                                     const SimulatedBench& bench)
    : options_(options), seed_(seed), scene_(options, bench) {}

void MeasurementEngine::Retune(const SimulatedBench& bench) {
    scene_.Retune(bench);
    cleanSettings_.reset();
    mainKey_.reset();
}

SweepSettings MeasurementEngine::MainSettings(const InstrumentState& state) const {
    SweepSettings settings;
    settings.startHz = state.centerHz - state.spanHz / 2.0;
    settings.stopHz = state.centerHz + state.spanHz / 2.0;
    settings.points = std::max(options_.tracePoints, 2);
    settings.rbwHz = state.EffectiveRbwHz();
    settings.detector = state.detector;
    if (state.detector == Detector::PositivePeak)
        settings.peakCrest = PeakCrest(settings.rbwHz, state.EffectiveVbwHz(),
                                       state.EffectiveSweepTimeS(), settings.points);
    return settings;
}

double MeasurementEngine::PeakCrest(double rbwHz, double vbwHz, double sweepTimeS, int points) {
    // Independent envelope samples per bin: about RBW x dwell time.
    const double samples = std::max(1.0, rbwHz * sweepTimeS / std::max(points - 1, 1));
    // Mean of the largest of n exponential samples: the harmonic number H(n).
    const double harmonic =
        std::log(samples) + 0.5772156649 + 1.0 / (2.0 * samples) - 1.0 / (12.0 * samples * samples);
    const double videoSmoothing = std::sqrt(std::max(1.0, rbwHz / vbwHz));
    return 1.0 + std::max(harmonic - 1.0, 0.0) / videoSmoothing;
}

std::uint64_t MeasurementEngine::SweepNoiseKey(const SweepData& data) const {
    return TraceNoise::Key(TraceNoise::Key(seed_, data.runId),
                           static_cast<std::uint64_t>(data.sweepIndex));
}

const Trace& MeasurementEngine::MainTrace(const InstrumentState& state, const SweepData& data) {
    const SweepKey key{MainSettings(state), data.runId, data.sweepIndex, data.averaged};
    if (mainKey_ && *mainKey_ == key) return main_;
    if (!cleanSettings_ || !(*cleanSettings_ == key.settings)) {
        computer_.Compute(scene_.ForCenter(state.centerHz), key.settings, clean_);
        cleanSettings_ = key.settings;
    }
    main_ = clean_;
    TraceNoise::Apply(main_.powerMw, options_.traceNoiseDb, data.averaged, SweepNoiseKey(data));
    mainKey_ = key;
    return main_;
}

double MeasurementEngine::MaskReferenceDbm(const InstrumentState& state, const Trace& main) const {
    if (!state.maskReferenceIsPeak)
        return TracePower::Dbm(
            TracePower::ChannelMw(main, state.centerHz, state.maskChannelBandwidthHz));
    const double half = state.maskChannelBandwidthHz / 2.0;
    double peak = 0.0;
    for (std::size_t i = 0; i < main.powerMw.size(); ++i)
        if (std::abs(main.FrequencyHz(i) - state.centerHz) <= half)
            peak = std::max(peak, main.powerMw[i]);
    return TracePower::Dbm(peak);
}

std::vector<MaskRecord> MeasurementEngine::MaskRecords(const InstrumentState& state,
                                                       const SweepData& data) {
    const double reference = MaskReferenceDbm(state, MainTrace(state, data));
    const SweepSettings main = MainSettings(state);
    const PowerDensity& input = scene_.ForCenter(state.centerHz);
    const std::uint64_t runKey = SweepNoiseKey(data);
    auto sweep = [&](double startHz, double stopHz, int points, double rbwHz,
                     int sweepNumber) -> const Trace& {
        SweepSettings settings = main;
        settings.startHz = startHz;
        settings.stopHz = stopHz;
        settings.points = points;
        settings.rbwHz = rbwHz;
        computer_.Compute(input, settings, segment_);
        TraceNoise::Apply(segment_.powerMw, options_.traceNoiseDb, data.averaged,
                          TraceNoise::Key(runKey, static_cast<std::uint64_t>(sweepNumber)));
        return segment_;
    };
    return MaskEvaluator::Evaluate(state.maskTable, state.centerHz, reference, sweep);
}

}  // namespace kelvane
