// A stand-in for a Windows GPIB driver DLL (gpib-32.dll): the ib entries with their documented
// C signatures and the per-thread registration entries, and no Thread* getters. The test links
// it to a scripted driver (StandInConnect), to which every entry hands its call through; so a
// test sees the calls after they went through the loader, the C entries and back.
#include <cstdint>

#include "gpib/GpibDriver.h"

#ifdef _WIN32
#define STAND_IN_EXPORT __declspec(dllexport)
#else
#define STAND_IN_EXPORT
#endif

namespace {
kelvane::GpibDriver* connected = nullptr;  // the test's driver; nullptr: every call fails
constexpr int kErr = 0x8000;
}  // namespace

extern "C" {

STAND_IN_EXPORT void StandInConnect(kelvane::GpibDriver* driver) { connected = driver; }

STAND_IN_EXPORT int ibdev(int board, int pad, int sad, int tmo, int eot, int eos) {
    return connected != nullptr ? connected->ibdev(board, pad, sad, tmo, eot, eos) : -1;
}

STAND_IN_EXPORT int ibonl(int ud, int v) {
    return connected != nullptr ? connected->ibonl(ud, v) : kErr;
}

STAND_IN_EXPORT int ibwrt(int ud, const void* buf, long cnt) {
    if (connected == nullptr) return kErr;
    return connected->ibwrt(ud, static_cast<const char*>(buf), static_cast<std::int32_t>(cnt));
}

STAND_IN_EXPORT int ibrd(int ud, void* buf, long cnt) {
    if (connected == nullptr) return kErr;
    return connected->ibrd(ud, static_cast<char*>(buf), static_cast<std::int32_t>(cnt));
}

STAND_IN_EXPORT int RegisterGpibGlobalsForThread(int* ibsta, int* iberr, int* ibcnt, int* ibcntl) {
    return connected != nullptr
               ? connected->RegisterGpibGlobalsForThread(ibsta, iberr, ibcnt, ibcntl)
               : 3;
}

STAND_IN_EXPORT int UnregisterGpibGlobalsForThread(void) {
    return connected != nullptr ? connected->UnregisterGpibGlobalsForThread() : 0;
}
}
