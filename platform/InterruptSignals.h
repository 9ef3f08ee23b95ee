#pragma once

namespace kelvane {

// The signals that ask the program to end: SIGINT (Ctrl+C), SIGTERM and, where there is one,
// SIGHUP. Once they are caught, the first one is only remembered, so that the program can end
// its measurement cleanly (the analyzer set back, the files whole); a second one ends the
// program at once with the first one's exit status.
//
// What a signal handler may touch is process-wide by nature: the caught signal lives in one
// static flag of this file, written only by the handler.
class InterruptSignals {
public:
    // Installs the handlers for the rest of the program's life. Interrupted system calls are
    // restarted where the system can, so a transfer under way is not cut short.
    static void Catch();
    // The first signal caught since Catch; 0 when none.
    static int Caught();
    // The exit status that tells a shell how the program ended after the signal: 130 after
    // SIGINT, 143 after SIGTERM or SIGHUP; 0 for no signal.
    static int ExitStatus(int signal);
};

}  // namespace kelvane
