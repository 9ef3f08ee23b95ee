#include "platform/InterruptSignals.h"

#include <csignal>
#include <cstdlib>
#include <initializer_list>

#ifndef _WIN32
#include <signal.h>
#endif

namespace kelvane {

namespace {

// Written only by the handler, read by the program's threads.
volatile std::sig_atomic_t caughtSignal = 0;

extern "C" void OnInterruptSignal(int signal) {
    if (caughtSignal != 0) std::_Exit(InterruptSignals::ExitStatus(caughtSignal));
    caughtSignal = signal;
#ifdef _WIN32
    // The C runtime resets the handler before it calls it: the second signal must reach it too.
    std::signal(signal, &OnInterruptSignal);
#endif
}

}  // namespace

void InterruptSignals::Catch() {
#ifndef _WIN32
    struct sigaction action {};
    action.sa_handler = &OnInterruptSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
#else
    for (const int signal : {SIGINT, SIGTERM}) std::signal(signal, &OnInterruptSignal);
#endif
}

int InterruptSignals::Caught() { return caughtSignal; }

int InterruptSignals::ExitStatus(int signal) {
    if (signal == 0) return 0;
    return signal == SIGINT ? 130 : 143;
}

}  // namespace kelvane
