#include "simulator/signals/WcdmaTransmitter.h"

#include <cmath>
#include <numbers>

namespace kelvane {

namespace {

Transmitter::Impairments WcdmaImpairments() {
    Transmitter::Impairments impairments;
    impairments.regrowthDbc = -43.0;
    impairments.regrowthWidthHz = WcdmaTransmitter::kChipRateHz;
    impairments.floorDbcPerHz = -130.8;
    return impairments;
}

}  // namespace

WcdmaTransmitter::WcdmaTransmitter(double carrierHz, double powerDbm, double regrowthRaiseDb)
    : Transmitter(carrierHz, powerDbm, regrowthRaiseDb, WcdmaImpairments()) {}

double WcdmaTransmitter::CarrierShape(double offsetHz) const {
    constexpr double symbolS = 1.0 / kChipRateHz;
    constexpr double flatEdgeHz = (1.0 - kRollOff) / (2.0 * symbolS);
    constexpr double outerEdgeHz = (1.0 + kRollOff) / (2.0 * symbolS);
    const double f = std::abs(offsetHz);
    if (f <= flatEdgeHz) return symbolS;
    if (f >= outerEdgeHz) return 0.0;
    const double phase = std::numbers::pi * symbolS / kRollOff * (f - flatEdgeHz);
    return symbolS * 0.5 * (1.0 + std::cos(phase));
}

}  // namespace kelvane
