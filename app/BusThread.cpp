#include "app/BusThread.h"

#include <utility>

namespace kelvane {

BusThread::BusThread(JobEnded jobEnded)
    : jobEnded_(std::move(jobEnded)), thread_([this] { Loop(); }) {}

BusThread::~BusThread() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

bool BusThread::Post(std::function<int()> job) {
    {
        const std::lock_guard lock(mutex_);
        if (busy_ || stopping_) return false;
        busy_ = true;
        job_ = std::move(job);
    }
    wake_.notify_all();
    return true;
}

std::optional<int> BusThread::TakeResult() {
    const std::lock_guard lock(mutex_);
    return std::exchange(result_, std::nullopt);
}

void BusThread::Loop() {
    while (true) {
        std::function<int()> job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || job_; });
            // A job taken before the stop request still runs: its click was accepted.
            if (!job_) return;
            job = std::exchange(job_, nullptr);
        }
        const int result = job();
        {
            const std::lock_guard lock(mutex_);
            result_ = result;
            busy_ = false;
        }
        if (jobEnded_) jobEnded_();
    }
}

}  // namespace kelvane
