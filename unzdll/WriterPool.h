#pragma once
// A few threads that write extracted files: making a file costs the file system far
// more than inflating it, and several makings overlap well. Jobs start in the order
// posted; the calling thread waits for each by its done flag.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace unzdll {

class WriterPool {
public:
    explicit WriterPool(std::size_t threads) : most_(threads) {}
    // Runs what was posted, then ends the threads.
    ~WriterPool();
    WriterPool(const WriterPool&) = delete;
    WriterPool& operator=(const WriterPool&) = delete;

    // done turns true, under the pool's lock, once job has run.
    void Post(std::function<void()> job, bool& done);
    bool IsDone(const bool& done);
    void Wait(const bool& done);

private:
    struct Job {
        std::function<void()> run;
        bool* done;
    };
    void Work();

    std::size_t most_;
    std::mutex mutex_;
    std::condition_variable posted_, finished_;
    std::deque<Job> jobs_;
    std::vector<std::thread> threads_;
    std::size_t idle_ = 0;
    bool ending_ = false;
};

} // namespace unzdll
