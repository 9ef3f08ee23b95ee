#pragma once

#include "measurements/MeasurementContext.h"

namespace kelvane {

// Power in the 3.84 MHz channel centered on the carrier, in dBm.
// measF: center frequency in Hz; measRef: reference level in dB.
MeasurementOutcome ChannelPower(MeasurementContext& context, const double& measF,
                                const double& measRef);

}  // namespace kelvane
