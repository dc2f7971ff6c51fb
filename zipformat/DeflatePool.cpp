#include "zipformat/DeflatePool.h"

#include <algorithm>
#include <system_error>

namespace zipfmt {

unsigned DeflatePool::DefaultThreads() {
    const unsigned cores = std::thread::hardware_concurrency();
    return cores > 1 ? cores : 0;
}

DeflatePool::DeflatePool(unsigned threads) {
    for (unsigned i = 0; i < threads; ++i) {
        try {
            threads_.emplace_back([this] { Work(); });
        } catch (const std::system_error&) {
            break; // fewer workers, or none: the caller's thread does the rest
        }
    }
}

DeflatePool::~DeflatePool() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        queue_.clear();
    }
    queued_.notify_all();
    for (std::thread& t : threads_) {
        t.join();
    }
}

void DeflatePool::Submit(DeflateJob& job) {
    if (threads_.empty()) {
        return; // runs when waited for
    }
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(&job);
    }
    queued_.notify_one();
}

void DeflatePool::Wait(DeflateJob& job) {
    Finish(job, true);
}

void DeflatePool::Withdraw(DeflateJob& job) {
    Finish(job, false);
}

void DeflatePool::Finish(DeflateJob& job, bool run) {
    if (threads_.empty()) {
        if (run) {
            here_.Run(job);
        }
        return;
    }
    // With workers the caller deflates nothing itself: a deflater of its own would
    // only add to the memory held, the cores being busy already.
    std::unique_lock lock(mutex_);
    const auto queued = std::find(queue_.begin(), queue_.end(), &job);
    if (queued != queue_.end() && !run) {
        queue_.erase(queued);
        return;
    }
    finished_.wait(lock, [&] {
        return std::find(queue_.begin(), queue_.end(), &job) == queue_.end() &&
               std::find(running_.begin(), running_.end(), &job) == running_.end();
    });
}

void DeflatePool::Work() {
    BlockDeflater deflater;
    std::unique_lock lock(mutex_);
    for (;;) {
        queued_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
        if (stopping_) {
            return;
        }
        DeflateJob* job = queue_.front();
        queue_.pop_front();
        running_.push_back(job);
        lock.unlock();
        deflater.Run(*job);
        lock.lock();
        running_.erase(std::find(running_.begin(), running_.end(), job));
        finished_.notify_all();
    }
}

} // namespace zipfmt
