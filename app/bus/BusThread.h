#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

namespace kelvane {

// The one long-lived thread on which the window program makes every driver call, so that the
// driver's per-thread registration stays valid and the window never waits for the bus. It runs
// one job at a time; a job offered while another is queued or running is refused, never kept
// for later. A job's Result is kept for the caller (TakeResult).
template <typename Result>
class BusThread {
public:
    // Called on the bus thread after each job, once the thread takes new jobs again.
    using JobEnded = std::function<void()>;

    explicit BusThread(JobEnded jobEnded)
        : jobEnded_(std::move(jobEnded)), thread_([this] { Loop(); }) {}

    // Lets a running job end, then stops the thread: no driver call is in flight afterwards.
    ~BusThread() {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }

    BusThread(const BusThread&) = delete;
    BusThread& operator=(const BusThread&) = delete;

    // Runs `job` on the bus thread unless one is queued or running; returns whether it was
    // taken.
    bool Post(std::function<Result()> job) {
        {
            const std::lock_guard lock(mutex_);
            if (busy_ || stopping_) return false;
            busy_ = true;
            job_ = std::move(job);
        }
        wake_.notify_all();
        return true;
    }

    // The result of the last job that ended, once. Everything that job did happens before the
    // return of this call.
    std::optional<Result> TakeResult() {
        const std::lock_guard lock(mutex_);
        return std::exchange(result_, std::nullopt);
    }

private:
    void Loop() {
        while (true) {
            std::function<Result()> job;
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [this] { return stopping_ || job_; });
                // A job taken before the stop request still runs: its click was accepted.
                if (!job_) return;
                job = std::exchange(job_, nullptr);
            }
            Result result = job();
            {
                const std::lock_guard lock(mutex_);
                result_ = std::move(result);
                busy_ = false;
            }
            if (jobEnded_) jobEnded_();
        }
    }

    JobEnded jobEnded_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::function<Result()> job_;
    bool busy_ = false;
    bool stopping_ = false;
    std::optional<Result> result_;
    std::thread thread_;  // last: starts when everything above is in place
};

}  // namespace kelvane
