#pragma once

namespace kelvane {

// Knobs of the simulated analyzer and of the transmitters connected to it. The defaults give the
// bench set-up the program expects: each transmitter at -10 dBm total power, passing its masks.
struct SimulatorOptions {
    // Total power of the transmitter that the center frequency selects, in dBm.
    double signalPowerDbm = -10.0;
    // Added to every transmitter's third-order regrowth level, in dB; raise it to make the masks
    // and the adjacent channel power fail.
    double regrowthRaiseDb = 0.0;
    // Spread (one sigma, in dB) of each trace point from one sweep to the next; averaging n sweeps
    // divides it by sqrt(n).
    double traceNoiseDb = 0.5;
    // The analyzer's own displayed noise density, in dBm/Hz.
    double analyzerNoiseDbmPerHz = -150.0;
    // Points of the main trace.
    int tracePoints = 1001;
};

}  // namespace kelvane
