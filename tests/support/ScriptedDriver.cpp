#include "tests/support/ScriptedDriver.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "gpib/EscapedText.h"

namespace kelvane::testing {

std::string DriverCall::ToString() const {
    std::string text = name + "(";
    if (name == "ibwrt") {
        text += std::to_string(args.at(0)) + ", \"" + EscapedText(bytes) + "\", " +
                std::to_string(args.at(1)) + ")";
        return text;
    }
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i > 0) text += ", ";
        text += std::to_string(args[i]);
    }
    text += ")";
    if (name == "ibrd") text += " -> \"" + EscapedText(bytes) + "\"";
    return text;
}

void ScriptedDriver::Reply(const std::string& query, const std::vector<std::string>& reads) {
    for (const auto& bytes : reads) ReplyRead(query, Read{bytes});
}

void ScriptedDriver::ReplyRead(const std::string& query, const Read& read) {
    scripts_[query].queue.push_back(read);
}

void ScriptedDriver::ReplyAlways(const std::string& query, const std::string& bytes) {
    auto& script = scripts_[query];
    script.hasStanding = true;
    script.standing = Read{bytes};
}

void ScriptedDriver::FailWrite(const std::string& command, std::int32_t error) {
    failingWrites_[command] = error;
}

void ScriptedDriver::FailIbdev(std::int32_t error) {
    ibdevFails_ = true;
    ibdevError_ = error;
}

std::vector<std::string> ScriptedDriver::Transcript() const {
    std::vector<std::string> lines;
    for (const auto& call : calls) lines.push_back(call.ToString());
    return lines;
}

std::vector<std::string> ScriptedDriver::Writes() const {
    std::vector<std::string> texts;
    for (const auto& call : calls)
        if (call.name == "ibwrt") texts.push_back(call.bytes);
    return texts;
}

void ScriptedDriver::SetStatus(std::int32_t status, std::int32_t error, std::int32_t count) {
    registered_.Set(status, error, count);
}

void ScriptedDriver::Record(DriverCall call) {
    calls.push_back(std::move(call));
    if (onCall) onCall(calls.back());
}

std::int32_t ScriptedDriver::ibdev(std::int32_t boardIndex, std::int32_t primaryAddress,
                                   std::int32_t secondaryAddress, std::int32_t timeoutCode,
                                   std::int32_t eoiMode, std::int32_t eosMode) {
    std::int32_t result = kDescriptor;
    if (ibdevFails_) {
        result = -1;
        SetStatus(kStatusErr, ibdevError_, 0);
    } else {
        SetStatus(kStatusCmpl, 0, 0);
    }
    Record({"ibdev",
            {boardIndex, primaryAddress, secondaryAddress, timeoutCode, eoiMode, eosMode},
            {}});
    return result;
}

std::int32_t ScriptedDriver::ibonl(std::int32_t descriptor, std::int32_t value) {
    SetStatus(kStatusCmpl, 0, 0);
    Record({"ibonl", {descriptor, value}, {}});
    return kStatusCmpl;
}

std::int32_t ScriptedDriver::ibwrt(std::int32_t descriptor, const char* bytes, std::int32_t count) {
    std::string text(bytes, bytes + std::max(count, 0));
    lastWritten_ = text;
    auto failing = failingWrites_.find(text);
    if (failing != failingWrites_.end()) {
        SetStatus(kStatusErr, failing->second, 0);
    } else {
        SetStatus(kStatusCmpl | kStatusEnd, 0, count);
    }
    Record({"ibwrt", {descriptor, count}, text});
    return failing != failingWrites_.end() ? kStatusErr : kStatusCmpl;
}

std::int32_t ScriptedDriver::ibrd(std::int32_t descriptor, char* buffer, std::int32_t count) {
    Read read{{}, kStatusErr | kStatusTimo, kErrorEabo};
    bool answered = false;
    auto script = scripts_.find(lastWritten_);
    if (script != scripts_.end()) {
        auto& s = script->second;
        if (s.next < s.queue.size()) {
            read = s.queue[s.next++];
            answered = true;
        } else if (s.hasStanding) {
            read = s.standing;
            answered = true;
        }
    }
    if (!answered && clock_ != nullptr) clock_->Advance(std::chrono::seconds(10));
    const auto delivered = static_cast<std::int32_t>(
        std::min<std::size_t>(read.bytes.size(), static_cast<std::size_t>(std::max(count, 0))));
    std::copy_n(read.bytes.begin(), delivered, buffer);
    // As on the bus: an answer longer than the read ends without END (its rest is dropped).
    const bool cut = static_cast<std::size_t>(delivered) < read.bytes.size();
    SetStatus(cut ? read.status & ~kStatusEnd : read.status, read.error, delivered);
    Record({"ibrd", {descriptor, count}, read.bytes.substr(0, delivered)});
    return read.status;
}

std::int32_t ScriptedDriver::RegisterGpibGlobalsForThread(std::int32_t* status, std::int32_t* error,
                                                          std::int32_t* count,
                                                          std::int32_t* countLong) {
    registered_.Bind(status, error, count, countLong);
    Record({"RegisterGpibGlobalsForThread", {}, {}});
    const std::size_t index = std::min(registrations_++, registrationResults_.size() - 1);
    return registrationResults_[index];
}

std::int32_t ScriptedDriver::UnregisterGpibGlobalsForThread() {
    Record({"UnregisterGpibGlobalsForThread", {}, {}});
    return 0;
}

DriverFactory HandOver(std::unique_ptr<GpibDriver> driver) {
    // std::function needs a copyable target, so the driver waits in a shared holder.
    auto holder = std::make_shared<std::unique_ptr<GpibDriver>>(std::move(driver));
    return [holder] { return DriverLoad{std::move(*holder), {}}; };
}

}  // namespace kelvane::testing
