#include "measurements/PowerAnswer.h"

#include "analyzer/AnalyzerSession.h"
#include "measurements/NumberForms.h"
#include "measurements/ReplyCheck.h"

namespace kelvane {

namespace {

constexpr std::size_t kReplyBufferLength = 50;

}  // namespace

void LogPowerAnswer(MeasurementRun& run, const std::string& query, const std::string& valueName) {
    std::string reply = NulBuffer(kReplyBufferLength);
    run.Send(query);
    const std::string name = "\"" + query + "\" answer";
    const int bytesRead = run.Read(reply, name);
    const double powerDbm = LeadingNumberReply(reply, bytesRead, name);
    run.SendClosingCommands();
    run.Record({valueName, powerDbm, "dBm", {}});
    run.AppendResult("ChPower = " + PatternNumber(powerDbm, "###0.00") + "dBm\r\n");
}

}  // namespace kelvane
