#include "platform/StandardDescriptors.h"

#ifndef _WIN32

#include <fcntl.h>
#include <unistd.h>

namespace kelvane {

namespace {

// True when the descriptor was closed (and now holds /dev/null).
bool Secure(int descriptor, int mode) {
    if (fcntl(descriptor, F_GETFD) != -1) return false;
    // open() takes the lowest free number, which is `descriptor` when all below it are open.
    const int opened = open("/dev/null", mode);
    if (opened >= 0 && opened != descriptor) {
        dup2(opened, descriptor);
        close(opened);
    }
    return true;
}

}  // namespace

ClosedStandardDescriptors SecureStandardDescriptors() {
    ClosedStandardDescriptors closed;
    closed.input = Secure(STDIN_FILENO, O_RDONLY);
    closed.output = Secure(STDOUT_FILENO, O_WRONLY);
    closed.error = Secure(STDERR_FILENO, O_WRONLY);
    return closed;
}

}  // namespace kelvane

#else

#include "platform/WindowsApi.h"

namespace kelvane {

// The C runtime gives no descriptor numbers away to other files; a missing standard handle is
// only reported.
ClosedStandardDescriptors SecureStandardDescriptors() {
    const auto missing = [](DWORD which) {
        const HANDLE handle = GetStdHandle(which);
        return handle == nullptr || handle == INVALID_HANDLE_VALUE;
    };
    return {missing(STD_INPUT_HANDLE), missing(STD_OUTPUT_HANDLE), missing(STD_ERROR_HANDLE)};
}

}  // namespace kelvane

#endif
