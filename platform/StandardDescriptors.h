#pragma once

namespace kelvane {

// Which of the standard descriptors were closed when the program started.
struct ClosedStandardDescriptors {
    bool input = false;
    bool output = false;
    bool error = false;
};

// Gives each closed standard descriptor (0, 1, 2) /dev/null, so that no file the program opens
// later (a GPIB driver's device file) takes its number and receives the log. The caller learns
// which were closed: a log written to a closed standard output is lost, not written.
ClosedStandardDescriptors SecureStandardDescriptors();

}  // namespace kelvane
