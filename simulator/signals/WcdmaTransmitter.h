#pragma once

#include "simulator/signals/Transmitter.h"

namespace kelvane {

// A 3GPP W-CDMA downlink carrier at its center frequency: 3.84 Mchip/s through root-raised-cosine
// filters of roll-off 0.22, whose power spectrum is the raised cosine. Regrowth and noise floor put
// the adjacent channel power about 55 dB under the carrier at +/-5 MHz and 10 dB lower at +/-10
// MHz.
class WcdmaTransmitter : public Transmitter {
public:
    static constexpr double kChipRateHz = 3.84e6;
    static constexpr double kRollOff = 0.22;

    WcdmaTransmitter(double carrierHz, double powerDbm, double regrowthRaiseDb);

protected:
    double CarrierShape(double offsetHz) const override;
};

}  // namespace kelvane
