#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace kelvane {

// The one long-lived thread on which the window program makes every driver call, so that the
// driver's per-thread registration stays valid and the window never waits for the bus. It runs
// one job at a time; a job offered while another is queued or running is refused, never kept
// for later.
class BusThread {
public:
    // Called on the bus thread after each job, once the thread takes new jobs again.
    using JobEnded = std::function<void()>;

    explicit BusThread(JobEnded jobEnded);
    // Lets a running job end, then stops the thread: no driver call is in flight afterwards.
    ~BusThread();

    BusThread(const BusThread&) = delete;
    BusThread& operator=(const BusThread&) = delete;

    // Runs `job` on the bus thread unless one is queued or running; returns whether it was
    // taken. The job's result is kept for TakeResult.
    bool Post(std::function<int()> job);
    // The result of the last job that ended, once. Everything that job did happens before the
    // return of this call.
    std::optional<int> TakeResult();

private:
    void Loop();

    JobEnded jobEnded_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::function<int()> job_;
    bool busy_ = false;
    bool stopping_ = false;
    std::optional<int> result_;
    std::thread thread_;  // last: starts when everything above is in place
};

}  // namespace kelvane
