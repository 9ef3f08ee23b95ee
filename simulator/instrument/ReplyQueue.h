#pragma once

#include <chrono>
#include <deque>
#include <string>

namespace kelvane {

// The analyzer's output queue: one entry per read that a query answers ("SEM?" queues one
// record per segment and side, "ACP?" three answers). An entry can be read in pieces when the
// reader's buffer is shorter; EOI goes with its last byte.
class ReplyQueue {
public:
    struct Reply {
        std::string bytes;
        std::chrono::nanoseconds readyAt{0};  // when the analyzer has the answer ready
        std::size_t delivered = 0;            // bytes already read
    };

    void Push(std::string bytes, std::chrono::nanoseconds readyAt) {
        replies_.push_back({std::move(bytes), readyAt, 0});
    }
    bool Empty() const { return replies_.empty(); }
    Reply& Front() { return replies_.front(); }
    void PopFront() { replies_.pop_front(); }
    void Clear() { replies_.clear(); }

private:
    std::deque<Reply> replies_;
};

}  // namespace kelvane
