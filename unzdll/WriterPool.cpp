#include "unzdll/WriterPool.h"

#include <system_error>

namespace unzdll {

WriterPool::~WriterPool() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ending_ = true;
    }
    posted_.notify_all();
    for (std::thread& t : threads_) {
        t.join();
    }
}

void WriterPool::Post(std::function<void()> job, bool& done) {
    std::unique_lock<std::mutex> lock(mutex_);
    // Threads start as work arrives: a call that writes one file starts one.
    if (idle_ == 0 && threads_.size() < most_) {
        try {
            threads_.emplace_back([this] { Work(); });
        } catch (const std::system_error&) {
            // the threads there are do the work
        }
    }
    if (threads_.empty()) {
        lock.unlock();
        job();
        lock.lock();
        done = true;
        return;
    }
    jobs_.push_back({std::move(job), &done});
    lock.unlock();
    posted_.notify_one();
}

bool WriterPool::IsDone(const bool& done) {
    std::lock_guard<std::mutex> lock(mutex_);
    return done;
}

void WriterPool::Wait(const bool& done) {
    std::unique_lock<std::mutex> lock(mutex_);
    finished_.wait(lock, [&] { return done; });
}

void WriterPool::Work() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        ++idle_;
        posted_.wait(lock, [this] { return ending_ || !jobs_.empty(); });
        --idle_;
        if (jobs_.empty()) {
            return; // ending, and nothing left to run
        }
        Job job = std::move(jobs_.front());
        jobs_.pop_front();
        lock.unlock();
        try {
            job.run();
        } catch (...) {
            // a job reports its own failures; nothing may end the thread
        }
        lock.lock();
        *job.done = true;
        finished_.notify_all();
    }
}

} // namespace unzdll
