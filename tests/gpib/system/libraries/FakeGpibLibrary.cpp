// A stand-in for a linux-gpib style driver library (no per-thread registration entries, status
// through the Thread* getters), so that the run-time loader can be tested without a GPIB board.
// It acts as an instrument at address 8 that answers every read with "42".
#include <cstring>

namespace {
int threadStatus = 0;
int threadError = 0;
long threadCount = 0;
}  // namespace

extern "C" {

int ibdev(int, int pad, int, int, int, int) {
    threadStatus = pad == 8 ? 0x100 : 0x8000;
    threadError = pad == 8 ? 0 : 2;
    threadCount = 0;
    return pad == 8 ? 5 : -1;
}

int ibonl(int, int) {
    threadStatus = 0x100;
    threadError = 0;
    return threadStatus;
}

int ibwrt(int, const void*, long count) {
    threadStatus = 0x2100;
    threadError = 0;
    threadCount = count;
    return threadStatus;
}

int ibrd(int, void* buffer, long count) {
    const long n = count < 2 ? count : 2;
    std::memcpy(buffer, "42", static_cast<std::size_t>(n));
    threadStatus = 0x2100;
    threadError = 0;
    threadCount = n;
    return threadStatus;
}

int ThreadIbsta(void) { return threadStatus; }
int ThreadIberr(void) { return threadError; }
int ThreadIbcnt(void) { return static_cast<int>(threadCount); }
long ThreadIbcntl(void) { return threadCount; }
}
