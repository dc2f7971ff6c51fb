#pragma once
// Deflate jobs run on worker threads while the caller reads and writes; the caller
// collects each job's result in its own order. Without worker threads (one core, or
// none could be started) every job runs on the caller's thread when it is waited for.

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "zipformat/BlockDeflater.h"

namespace zipfmt {

class DeflatePool {
public:
    // One worker a core; none on a single core, where they would only take turns.
    static unsigned DefaultThreads();

    explicit DeflatePool(unsigned threads = DefaultThreads());
    ~DeflatePool();
    DeflatePool(const DeflatePool&) = delete;
    DeflatePool& operator=(const DeflatePool&) = delete;

    unsigned Threads() const { return static_cast<unsigned>(threads_.size()); }

    void Submit(DeflateJob& job);
    // Returns once the job is done.
    void Wait(DeflateJob& job);
    // Takes back a job no worker has started, or waits for the one under way.
    void Withdraw(DeflateJob& job);

private:
    void Work();
    // Waits for a job to be done (run: done here when there are no workers), or
    // takes it back when no worker has started it (!run).
    void Finish(DeflateJob& job, bool run);

    std::mutex mutex_;
    std::condition_variable queued_, finished_;
    std::deque<DeflateJob*> queue_;
    std::vector<DeflateJob*> running_;
    bool stopping_ = false;
    BlockDeflater here_;
    std::vector<std::thread> threads_;
};

} // namespace zipfmt
