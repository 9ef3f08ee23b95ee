#include "simulator/instrument/StatusModel.h"

#include <algorithm>

namespace kelvane {

int StatusModel::ReadEventStatus() {
    const int value = eventStatus_;
    eventStatus_ = 0;
    return value;
}

void StatusModel::Clear(Nanoseconds now) {
    Latch(now);
    eventStatus_ = 0;
    operationEvents_ = 0;
}

void StatusModel::ScheduleOperationEnd(int eventBit, Nanoseconds at) {
    CancelOperationEnd(eventBit);
    pending_.push_back({eventBit, at});
}

void StatusModel::CancelOperationEnd(int eventBit) {
    std::erase_if(pending_, [eventBit](const PendingEnd& p) { return p.bit == eventBit; });
}

int StatusModel::StatusByte(Nanoseconds now, bool messageAvailable) {
    Latch(now);
    int status = 0;
    if (messageAvailable) status |= 0x10;
    if ((eventStatus_ & eventStatusEnable_) != 0) status |= 0x20;
    if ((operationEvents_ & operationEnable_) != 0) status |= 0x80;
    if ((status & serviceRequestEnable_) != 0) status |= 0x40;
    return status;
}

void StatusModel::Latch(Nanoseconds now) {
    for (const auto& end : pending_)
        if (end.at <= now) operationEvents_ |= end.bit;
    std::erase_if(pending_, [now](const PendingEnd& p) { return p.at <= now; });
}

}  // namespace kelvane
