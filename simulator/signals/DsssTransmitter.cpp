#include "simulator/signals/DsssTransmitter.h"

#include <cmath>
#include <numbers>

namespace kelvane {

namespace {

constexpr double kFilterCornerHz = 8.0e6;
constexpr int kFilterOrder = 6;

Transmitter::Impairments DsssImpairments() {
    Transmitter::Impairments impairments;
    impairments.regrowthDbc = -24.0;
    impairments.regrowthWidthHz = DsssTransmitter::kChipRateHz;
    impairments.floorDbcPerHz = -125.0;
    return impairments;
}

}  // namespace

DsssTransmitter::DsssTransmitter(double carrierHz, double powerDbm, double regrowthRaiseDb)
    : Transmitter(carrierHz, powerDbm, regrowthRaiseDb, DsssImpairments()) {
    constexpr double stepHz = 20e3;
    constexpr double halfWidthHz = 100e6;
    double area = 0.0;
    for (double f = -halfWidthHz; f <= halfWidthHz; f += stepHz) area += UnscaledShape(f) * stepHz;
    scale_ = 1.0 / area;
}

double DsssTransmitter::CarrierShape(double offsetHz) const {
    return scale_ * UnscaledShape(offsetHz);
}

double DsssTransmitter::UnscaledShape(double offsetHz) {
    const double x = std::numbers::pi * offsetHz / kChipRateHz;
    const double sinc = std::abs(x) < 1e-12 ? 1.0 : std::sin(x) / x;
    return sinc * sinc * ButterworthPower(offsetHz, kFilterCornerHz, kFilterOrder);
}

}  // namespace kelvane
