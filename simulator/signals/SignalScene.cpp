#include "simulator/signals/SignalScene.h"

#include <cmath>

#include "simulator/signals/DsssTransmitter.h"
#include "simulator/signals/OfdmTransmitter.h"
#include "simulator/signals/WcdmaTransmitter.h"

namespace kelvane {

namespace {

constexpr double kSelectionRangeHz = 100e6;

}  // namespace

// One transmitter (or none) plus the analyzer's noise.
class SignalScene::Input : public PowerDensity {
public:
    Input(const Transmitter* transmitter, double noiseMwPerHz)
        : transmitter_(transmitter), noiseMwPerHz_(noiseMwPerHz) {}
    double MwPerHz(double frequencyHz) const override {
        return noiseMwPerHz_ + (transmitter_ ? transmitter_->MwPerHz(frequencyHz) : 0.0);
    }

private:
    const Transmitter* transmitter_;
    double noiseMwPerHz_;
};

SignalScene::SignalScene(const SimulatorOptions& options, const SimulatedBench& bench)
    : options_(options), bench_(bench) {}

void SignalScene::Retune(const SimulatedBench& bench) {
    if (bench.wcdmaCarrierHz == bench_.wcdmaCarrierHz &&
        bench.ofdmCarrierHz == bench_.ofdmCarrierHz && bench.dsssCarrierHz == bench_.dsssCarrierHz)
        return;
    bench_ = bench;
    for (auto& transmitter : transmitters_) transmitter.reset();
    for (auto& input : inputs_) input.reset();
}

SignalScene::~SignalScene() = default;

const PowerDensity& SignalScene::ForCenter(double centerHz) {
    struct Candidate {
        Kind kind;
        double carrierHz;
    };
    const Candidate candidates[] = {{Kind::Wcdma, bench_.wcdmaCarrierHz},
                                    {Kind::Ofdm, bench_.ofdmCarrierHz},
                                    {Kind::Dsss, bench_.dsssCarrierHz}};
    Kind selected = Kind::NoiseOnly;
    double nearest = kSelectionRangeHz;
    for (const auto& candidate : candidates) {
        const double distance = std::abs(centerHz - candidate.carrierHz);
        if (distance <= nearest) {
            nearest = distance;
            selected = candidate.kind;
        }
    }
    auto& input = inputs_[static_cast<std::size_t>(selected)];
    if (!input) {
        const double noise = std::pow(10.0, options_.analyzerNoiseDbmPerHz / 10.0);
        input = std::make_unique<Input>(TransmitterOf(selected), noise);
    }
    return *input;
}

const Transmitter* SignalScene::TransmitterOf(Kind kind) {
    auto& slot = transmitters_[static_cast<std::size_t>(kind)];
    if (!slot) {
        const double power = options_.signalPowerDbm;
        const double raise = options_.regrowthRaiseDb;
        switch (kind) {
        case Kind::Wcdma:
            slot = std::make_unique<WcdmaTransmitter>(bench_.wcdmaCarrierHz, power, raise);
            break;
        case Kind::Ofdm:
            slot = std::make_unique<OfdmTransmitter>(bench_.ofdmCarrierHz, power, raise);
            break;
        case Kind::Dsss:
            slot = std::make_unique<DsssTransmitter>(bench_.dsssCarrierHz, power, raise);
            break;
        case Kind::NoiseOnly:
            break;
        }
    }
    return slot.get();
}

}  // namespace kelvane
