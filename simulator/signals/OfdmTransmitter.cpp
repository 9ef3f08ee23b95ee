#include "simulator/signals/OfdmTransmitter.h"

#include <cmath>
#include <numbers>

namespace kelvane {

namespace {

constexpr double kTableStepHz = 25e3;       // a twelfth of the subcarrier spacing
constexpr double kTableHalfWidthHz = 45e6;  // beyond, the transmit filter leaves nothing
constexpr double kFilterCornerHz = 9.0e6;
constexpr int kFilterOrder = 6;

Transmitter::Impairments OfdmImpairments() {
    Transmitter::Impairments impairments;
    impairments.regrowthDbc = -18.0;
    impairments.regrowthWidthHz = 16.6e6;
    impairments.floorDbcPerHz = -120.0;
    return impairments;
}

}  // namespace

OfdmTransmitter::OfdmTransmitter(double carrierHz, double powerDbm, double regrowthRaiseDb)
    : Transmitter(carrierHz, powerDbm, regrowthRaiseDb, OfdmImpairments()) {
    const auto points = static_cast<std::size_t>(2.0 * kTableHalfWidthHz / kTableStepHz) + 1;
    table_.resize(points);
    double area = 0.0;
    for (std::size_t i = 0; i < points; ++i) {
        const double offset = -kTableHalfWidthHz + kTableStepHz * static_cast<double>(i);
        table_[i] = SubcarrierSum(offset) * ButterworthPower(offset, kFilterCornerHz, kFilterOrder);
        area += table_[i] * kTableStepHz;
    }
    for (double& value : table_) value /= area;
}

double OfdmTransmitter::CarrierShape(double offsetHz) const {
    const double position = (offsetHz + kTableHalfWidthHz) / kTableStepHz;
    if (position < 0.0 || position >= static_cast<double>(table_.size() - 1)) return 0.0;
    const auto index = static_cast<std::size_t>(position);
    const double fraction = position - static_cast<double>(index);
    return table_[index] + fraction * (table_[index + 1] - table_[index]);
}

// Sum of the subcarriers' sinc^2 spectra. Neighbouring subcarriers' phases differ by
// 1.25 pi, so the sin^2 numerators repeat every four subcarriers: one sine and one cosine
// per frequency serve all 52 terms.
double OfdmTransmitter::SubcarrierSum(double offsetHz) {
    constexpr double pi = std::numbers::pi;
    const double x = pi * offsetHz * kSymbolS;
    const double c = std::cos(2.0 * x);
    const double s = std::sin(2.0 * x);
    const double numerators[4] = {(1.0 - c) / 2.0, (1.0 - s) / 2.0, (1.0 + c) / 2.0,
                                  (1.0 + s) / 2.0};
    constexpr double phaseStep = pi * kSubcarrierSpacingHz * kSymbolS;
    double sum = 0.0;
    for (int k = -kSubcarriersPerSide; k <= kSubcarriersPerSide; ++k) {
        if (k == 0) continue;
        const double theta = x - phaseStep * k;
        if (std::abs(theta) < 1e-12) {
            sum += 1.0;
            continue;
        }
        sum += numerators[((k % 4) + 4) % 4] / (theta * theta);
    }
    return sum;
}

}  // namespace kelvane
