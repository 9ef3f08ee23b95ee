#pragma once

#include <vector>

#include "simulator/signals/Transmitter.h"

namespace kelvane {

// An 802.11a OFDM transmitter at its carrier: 52 used subcarriers 312.5 kHz apart (none at DC),
// 4 us symbols including the guard interval, through a transmit low-pass; third-order regrowth
// gives the shoulders. The carrier spectrum is tabulated once, since the subcarrier sum is too
// dear to evaluate per trace point.
class OfdmTransmitter : public Transmitter {
public:
    static constexpr double kSubcarrierSpacingHz = 312.5e3;
    static constexpr double kSymbolS = 4.0e-6;
    static constexpr int kSubcarriersPerSide = 26;

    OfdmTransmitter(double carrierHz, double powerDbm, double regrowthRaiseDb);

protected:
    double CarrierShape(double offsetHz) const override;

private:
    static double SubcarrierSum(double offsetHz);

    std::vector<double> table_;  // unit-area shape at kTableStepHz steps from -kTableHalfWidthHz
};

}  // namespace kelvane
