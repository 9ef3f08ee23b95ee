#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "gpib/prologix/AdapterProtocol.h"
#include "tests/support/ScriptedDriver.h"

namespace kelvane::testing {

// A Prologix-protocol adapter as the tests' stand-in: it takes the bytes the PC sends, carries
// the data lines to an analyzer played by a ScriptedDriver, and says what goes back. It is as
// strict as the real adapters: an unescaped CR or LF ends a line wherever it is, settings start
// from the factory defaults on every connection (read-after-write on, CR LF appended, no end
// character), a read that the analyzer does not answer gives nothing back after the read
// time-out, and commands the firmware does not know are reported.
class AdapterEmulator {
public:
    struct Options {
        AdapterKind kind = AdapterKind::Ethernet;
        std::string version;  // the "++ver" answer; empty: the kind's usual one
        std::string dropAt;   // the connection closes once this data line has arrived
        int dropsLeft = 1;    // how many connections dropAt closes
        std::chrono::milliseconds startUp{0};      // after connecting, input is lost for this long
        std::chrono::milliseconds answerDelay{0};  // before each answer's first byte
        std::string slowQuery;                     // its answer comes after slowDelay
        std::chrono::milliseconds slowDelay{0};
        std::string afterAnswer;  // stray bytes sent a moment after every answer
        std::string bootNoise;    // sent instead of the answer to a connection's first "++ver"
    };
    // What goes back: after `delay` (from the end of the previous output), these bytes, or
    // the connection closes.
    struct Output {
        std::chrono::milliseconds delay{0};
        std::string bytes;
        bool close = false;
    };

    AdapterEmulator(ScriptedDriver& analyzer, Options options);

    // A new connection: factory settings, nothing half received.
    void Connect();
    // Bytes from the PC, `sinceConnect` after the connection was made.
    std::vector<Output> Feed(std::string_view bytes, std::chrono::milliseconds sinceConnect);

    // What a real adapter would have done differently or not understood; empty when the
    // driver kept to the protocol.
    const std::vector<std::string>& Violations() const { return violations_; }
    // Every "++" command received, in order, with its argument.
    const std::vector<std::string>& Commands() const { return commands_; }

private:
    void Line(const std::string& raw, const std::string& text, std::vector<Output>& out);
    void Command(const std::string& command, std::vector<Output>& out);
    void Data(const std::string& data, std::vector<Output>& out);
    void Answer(std::vector<Output>& out);

    ScriptedDriver& analyzer_;
    Options options_;
    std::vector<std::string> violations_;
    std::vector<std::string> commands_;
    // The line being received: raw (escapes kept) and as meant.
    std::string raw_, text_;
    std::string lastData_;  // the last data line, as sent to the analyzer
    bool escaped_ = false;
    bool versionAsked_ = false;  // on this connection
    // Settings.
    int mode_ = 1, address_ = 0, eos_ = 0;
    bool autoRead_ = true, eoi_ = true, endCharOn_ = false;
    int endChar_ = 0, readTimeoutMs_ = 500;
};

}  // namespace kelvane::testing
