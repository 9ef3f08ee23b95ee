#include "platform/InterruptSignals.h"

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <initializer_list>

#ifndef _WIN32
#include <signal.h>
#endif

namespace kelvane {

namespace {

// Written only by the handler, read by the program's threads (the bus thread among them): a
// lock-free atomic, which a handler may touch and threads may share.
std::atomic<int> caughtSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void OnInterruptSignal(int signal) {
    if (const int first = caughtSignal.load(); first != 0)
        std::_Exit(InterruptSignals::ExitStatus(first));
    caughtSignal.store(signal);
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

int InterruptSignals::Caught() { return caughtSignal.load(); }

int InterruptSignals::ExitStatus(int signal) {
    if (signal == 0) return 0;
    return signal == SIGINT ? 130 : 143;
}

}  // namespace kelvane
