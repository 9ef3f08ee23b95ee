#pragma once

namespace kelvane {

// While one exists (around the construction of the QApplication), a platform that cannot be
// brought up, such as an X display that does not answer, ends the program with
// `kelvane: cannot open the display ":99"; use --measure NAME to run without a window` on
// standard error and exit status 2, instead of Qt's abort. Qt's messages of that time are held
// back and shown when the guard goes, unless the program ended.
class DisplayFailureGuard {
public:
    DisplayFailureGuard();
    ~DisplayFailureGuard();

    DisplayFailureGuard(const DisplayFailureGuard&) = delete;
    DisplayFailureGuard& operator=(const DisplayFailureGuard&) = delete;
};

}  // namespace kelvane
