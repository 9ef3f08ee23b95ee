#include "tests/support/StandInAdapter.h"

#ifdef _WIN32

#include <stdexcept>

namespace kelvane::testing {

// The stand-in serves over POSIX sockets and pseudo-terminals; the Windows build's adapter
// tests run on the emulated stream alone.
StandInAdapter::StandInAdapter(AdapterEmulator& adapter, Transport transport)
    : adapter_(adapter), transport_(transport) {
    throw std::runtime_error("the stand-in adapter needs POSIX sockets and pseudo-terminals");
}

StandInAdapter::~StandInAdapter() = default;

std::string StandInAdapter::Bus() const { return {}; }

void StandInAdapter::Stop() {}

}  // namespace kelvane::testing

#endif
