#pragma once

#include "simulator/signals/Transmitter.h"

namespace kelvane {

// An 802.11b DSSS transmitter at its carrier: 11 Mchip/s rectangular chips (a sinc^2 spectrum)
// through a transmit low-pass that pushes the side lobes under the mask.
class DsssTransmitter : public Transmitter {
public:
    static constexpr double kChipRateHz = 11.0e6;

    DsssTransmitter(double carrierHz, double powerDbm, double regrowthRaiseDb);

protected:
    double CarrierShape(double offsetHz) const override;

private:
    static double UnscaledShape(double offsetHz);

    double scale_ = 1.0;  // makes the shape's area 1
};

}  // namespace kelvane
