#pragma once

#include "measurements/MeasurementContext.h"

namespace kelvane {

// Adjacent channel power at +/-5 MHz and +/-10 MHz and the carrier power.
// measF: center frequency in Hz; measRef: reference level in dB.
MeasurementOutcome AdjacentChannelPower(MeasurementContext& context, const double& measF,
                                        const double& measRef);

}  // namespace kelvane
