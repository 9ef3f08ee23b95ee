#pragma once

#include <array>
#include <cstddef>
#include <memory>

#include "simulator/SimulatedBench.h"
#include "simulator/SimulatorOptions.h"
#include "simulator/signals/PowerDensity.h"
#include "simulator/signals/Transmitter.h"

namespace kelvane {

// What the analyzer's input sees. The bench switches the transmitter under test by the
// frequency the analyzer is tuned to: the W-CDMA carrier, the 802.11a transmitter or the
// 802.11b one (at 2 GHz, 5005 MHz and 2412 MHz on the default bench), whichever carrier lies
// nearest to the center frequency, within 100 MHz; elsewhere only the analyzer's own noise.
class SignalScene {
public:
    SignalScene(const SimulatorOptions& options, const SimulatedBench& bench);
    ~SignalScene();

    // The transmitters move to the bench's carriers.
    void Retune(const SimulatedBench& bench);

    // The input spectrum for a sweep centered at centerHz; valid as long as the scene.
    const PowerDensity& ForCenter(double centerHz);

private:
    class Input;
    // What the input carries: one of the transmitters, or only the analyzer's noise.
    enum class Kind { Wcdma, Ofdm, Dsss, NoiseOnly };
    static constexpr std::size_t kKinds = 4;

    // The transmitter of a kind, made on first use; nullptr for NoiseOnly.
    const Transmitter* TransmitterOf(Kind kind);

    SimulatorOptions options_;
    SimulatedBench bench_;
    std::array<std::unique_ptr<Transmitter>, kKinds> transmitters_;  // by Kind
    std::array<std::unique_ptr<Input>, kKinds> inputs_;              // by Kind, made on first use
};

}  // namespace kelvane
