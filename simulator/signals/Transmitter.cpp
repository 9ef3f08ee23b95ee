#include "simulator/signals/Transmitter.h"

#include <cmath>

namespace kelvane {

namespace {

double FromDb(double db) { return std::pow(10.0, db / 10.0); }

// Quadratic B-spline of unit area over [-1.5, 1.5].
double QuadraticBSpline(double u) {
    u = std::abs(u);
    if (u <= 0.5) return 0.75 - u * u;
    if (u < 1.5) return 0.5 * (1.5 - u) * (1.5 - u);
    return 0.0;
}

}  // namespace

Transmitter::Transmitter(double carrierHz, double powerDbm, double regrowthRaiseDb,
                         Impairments impairments)
    : carrierHz_(carrierHz),
      carrierMw_(FromDb(powerDbm)),
      regrowthMw_(FromDb(powerDbm + impairments.regrowthDbc + regrowthRaiseDb)),
      regrowthWidthHz_(impairments.regrowthWidthHz),
      floorMwPerHz_(FromDb(powerDbm + impairments.floorDbcPerHz)) {}

double Transmitter::MwPerHz(double frequencyHz) const {
    const double offset = frequencyHz - carrierHz_;
    const double regrowth =
        regrowthMw_ * QuadraticBSpline(offset / regrowthWidthHz_) / regrowthWidthHz_;
    return carrierMw_ * CarrierShape(offset) + regrowth + floorMwPerHz_;
}

double Transmitter::ButterworthPower(double offsetHz, double cornerHz, int order) {
    const double ratio = (offsetHz / cornerHz) * (offsetHz / cornerHz);
    double power = 1.0;
    for (int i = 0; i < order; ++i) power *= ratio;
    return 1.0 / (1.0 + power);
}

}  // namespace kelvane
