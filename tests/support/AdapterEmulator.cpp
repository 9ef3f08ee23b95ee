#include "tests/support/AdapterEmulator.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace kelvane::testing {

namespace {

bool IsNumber(const std::string& text) {
    return !text.empty() && text.size() < 6 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

AdapterEmulator::AdapterEmulator(ScriptedDriver& analyzer, Options options)
    : analyzer_(analyzer), options_(std::move(options)) {
    if (options_.version.empty())
        options_.version = options_.kind == AdapterKind::Usb
                               ? "Prologix GPIB-USB Controller version 6.107"
                               : "Prologix GPIB-ETHERNET Controller version 01.06.06.00";
}

void AdapterEmulator::Connect() {
    raw_.clear();
    text_.clear();
    escaped_ = false;
    versionAsked_ = false;
    mode_ = 1;
    address_ = 0;
    eos_ = 0;
    autoRead_ = true;
    eoi_ = true;
    endCharOn_ = false;
    endChar_ = 0;
    readTimeoutMs_ = 500;
}

std::vector<AdapterEmulator::Output> AdapterEmulator::Feed(std::string_view bytes,
                                                           std::chrono::milliseconds sinceConnect) {
    std::vector<Output> out;
    if (sinceConnect < options_.startUp) return out;  // still starting: the bytes are lost
    for (char c : bytes) {
        if (escaped_) {
            escaped_ = false;
            raw_ += c;
            text_ += c;
        } else if (c == '\x1b') {
            escaped_ = true;
            raw_ += c;
        } else if (c == '\r' || c == '\n') {
            if (!raw_.empty()) Line(raw_, text_, out);
            raw_.clear();
            text_.clear();
            if (!out.empty() && out.back().close) return out;
        } else {
            raw_ += c;
            text_ += c;
        }
    }
    return out;
}

void AdapterEmulator::Line(const std::string& raw, const std::string& text,
                           std::vector<Output>& out) {
    if (raw.starts_with("++")) {
        Command(raw.substr(2), out);
    } else {
        Data(text, out);
    }
}

void AdapterEmulator::Command(const std::string& command, std::vector<Output>& out) {
    commands_.push_back("++" + command);
    const auto blank = command.find(' ');
    const std::string name = command.substr(0, blank);
    const std::string argument = blank == std::string::npos ? "" : command.substr(blank + 1);
    const auto setting = [&](auto& value) {
        if (argument.empty()) {
            out.push_back({{}, std::to_string(value) + "\r\n"});
        } else if (IsNumber(argument)) {
            value =
                static_cast<std::remove_reference_t<decltype(value)>>(std::atoi(argument.c_str()));
        } else {
            violations_.push_back("bad argument: ++" + command);
        }
    };
    if (name == "ver") {
        const bool noise = !versionAsked_ && !options_.bootNoise.empty();
        versionAsked_ = true;
        out.push_back({{}, noise ? options_.bootNoise : options_.version + "\r\n"});
    } else if (name == "mode") {
        setting(mode_);
    } else if (name == "addr") {
        setting(address_);
    } else if (name == "auto") {
        setting(autoRead_);
    } else if (name == "eoi") {
        setting(eoi_);
    } else if (name == "eos") {
        setting(eos_);
    } else if (name == "eot_enable") {
        setting(endCharOn_);
    } else if (name == "eot_char") {
        setting(endChar_);
    } else if (name == "read_tmo_ms") {
        setting(readTimeoutMs_);
        if (readTimeoutMs_ < 1 || readTimeoutMs_ > 3000)
            violations_.push_back("read time-out out of range: ++" + command);
    } else if (name == "savecfg" && options_.kind == AdapterKind::Usb) {
        if (argument != "0") violations_.push_back("settings written to EEPROM: ++" + command);
    } else if (name == "read") {
        if (argument != "eoi") violations_.push_back("read not up to EOI: ++" + command);
        Answer(out);
    } else if (name == "loc") {
    } else {
        violations_.push_back("unknown command: ++" + command);
    }
}

void AdapterEmulator::Data(const std::string& data, std::vector<Output>& out) {
    if (mode_ != 1 || address_ != 8 || !eoi_)
        violations_.push_back("data sent without controller mode, address 8 and EOI: " + data);
    lastData_ = data;
    std::string sent = data;
    if (eos_ == 0) sent += "\r\n";
    if (eos_ == 1) sent += "\r";
    if (eos_ == 2) sent += "\n";
    analyzer_.ibwrt(ScriptedDriver::kDescriptor, sent.data(),
                    static_cast<std::int32_t>(sent.size()));
    if (!options_.dropAt.empty() && data == options_.dropAt && options_.dropsLeft > 0) {
        --options_.dropsLeft;
        out.push_back({{}, {}, true});
        return;
    }
    if (autoRead_) Answer(out);
}

void AdapterEmulator::Answer(std::vector<Output>& out) {
    std::string buffer(65536, '\0');
    const std::int32_t status = analyzer_.ibrd(ScriptedDriver::kDescriptor, buffer.data(),
                                               static_cast<std::int32_t>(buffer.size()));
    const auto count =
        static_cast<std::size_t>(analyzer_.calls.empty() ? 0 : analyzer_.calls.back().bytes.size());
    if ((status & kStatusTimo) != 0) {
        // The adapter gives up after its read time-out and says nothing.
        out.push_back({std::chrono::milliseconds(readTimeoutMs_), {}});
        return;
    }
    std::string answer = buffer.substr(0, count);
    if (endCharOn_) answer += static_cast<char>(endChar_);
    const bool slow = !options_.slowQuery.empty() && lastData_ == options_.slowQuery;
    out.push_back({slow ? options_.slowDelay : options_.answerDelay, answer});
    if (!options_.afterAnswer.empty())
        out.push_back({std::chrono::milliseconds(1), options_.afterAnswer});
}

}  // namespace kelvane::testing
