#pragma once

#include "simulator/signals/PowerDensity.h"

namespace kelvane {

// A transmitter under test: its modulated carrier plus what its power amplifier and its noise
// add. The third-order regrowth of a band-limited noise-like signal is the triple
// self-convolution of its spectrum; for a flat band of width B that is the quadratic B-spline
// over +/-1.5 B, which gives the shoulders without a convolution per sweep.
class Transmitter : public PowerDensity {
public:
    struct Impairments {
        double regrowthDbc = -40.0;     // total regrowth power relative to the carrier power
        double regrowthWidthHz = 1e6;   // the band B whose third-order products make the regrowth
        double floorDbcPerHz = -130.0;  // wideband noise density relative to the carrier power
    };

    // powerDbm: total carrier power. regrowthRaiseDb is added to impairments.regrowthDbc.
    Transmitter(double carrierHz, double powerDbm, double regrowthRaiseDb, Impairments impairments);

    double MwPerHz(double frequencyHz) const override;

protected:
    // The modulated carrier's spectrum at an offset from the carrier, normalised to unit total
    // power (1/Hz).
    virtual double CarrierShape(double offsetHz) const = 0;

    // |H|^2 of a Butterworth low-pass of the given order: the transmit filter of the models.
    static double ButterworthPower(double offsetHz, double cornerHz, int order);

private:
    double carrierHz_;
    double carrierMw_;
    double regrowthMw_;
    double regrowthWidthHz_;
    double floorMwPerHz_;
};

}  // namespace kelvane
