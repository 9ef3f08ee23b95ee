#pragma once

#include <cstdint>
#include <string>

namespace kelvane {

// How one read of an analyzer answer ended, taken from the driver's status after the read.
// Only a read that the driver ended with END (EOI) and without ERR holds a whole answer; the
// others hold part of one, or none.
struct ReplyRead {
    enum class End {
        Complete,      // END and no ERR: the whole answer arrived
        Overflow,      // the buffer filled up without END: the answer is longer than the buffer
        Unterminated,  // fewer bytes than the buffer holds, neither END nor ERR
        Cut,           // ERR (often a time-out) after part of an answer
        Silent,        // ERR or a time-out before the first byte
        Skipped,       // not read at all: an earlier read of the session timed out
    };

    int bytes = 0;  // how many bytes arrived at the buffer's start (0 to its length)
    End end = End::Silent;
    bool errorFlagged = false;  // the driver set ERR
    std::int32_t error = 0;     // the driver's error code (iberr) when it flagged ERR
    bool timedOut = false;      // TIMO, or ERR with EABO: the analyzer did not answer in time
    std::string detail;         // the driver's own words on an ERR, if it has any

    bool Good() const { return end == End::Complete; }
};

// The read's ending from the driver's status word, error code and byte count after ibrd into a
// buffer of bufferLength bytes.
ReplyRead ClassifyRead(std::int32_t status, std::int32_t error, std::int32_t count,
                       std::size_t bufferLength);

// What went wrong with a read that is not Good, for a failure line behind the answer's name:
// "did not arrive", "was longer than 50 bytes", "stopped after 13 bytes (driver error EABO (6))".
std::string DescribeBadRead(const ReplyRead& read, std::size_t bufferLength);

}  // namespace kelvane
