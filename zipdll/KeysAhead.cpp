#include "zipdll/KeysAhead.h"

#include <system_error>

namespace zipdll {

namespace {
const zipfmt::AesInfo kAes256{zipfmt::kAesVersion2, 3, 0};
} // namespace

KeysAhead::KeysAhead(std::string password, std::size_t count, std::size_t ahead, unsigned threads)
    : password_(std::move(password)), ahead_(ahead), left_(count) {
    for (unsigned i = 0; i < threads && i < count; ++i) {
        try {
            threads_.emplace_back([this] { Work(); });
        } catch (const std::system_error&) {
            break; // the threads started do the work
        }
    }
}

KeysAhead::~KeysAhead() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    taken_.notify_all();
    for (std::thread& t : threads_) {
        t.join();
    }
}

void KeysAhead::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        taken_.wait(lock,
                    [this] { return stopping_ || left_ == 0 || ready_.size() + busy_ < ahead_; });
        if (stopping_ || left_ == 0) {
            return;
        }
        --left_;
        ++busy_;
        lock.unlock();
        zipfmt::AesKeys keys = zipfmt::DeriveAesKeys(kAes256, password_);
        lock.lock();
        --busy_;
        ready_.push_back(std::move(keys));
        made_.notify_one();
    }
}

zipfmt::AesKeys KeysAhead::Next() {
    std::unique_lock lock(mutex_);
    made_.wait(lock, [this] { return !ready_.empty() || threads_.empty() || left_ + busy_ == 0; });
    if (ready_.empty()) {
        // Nothing under way for this entry: it is derived here.
        if (left_ > 0) {
            --left_;
        }
        lock.unlock();
        return zipfmt::DeriveAesKeys(kAes256, password_);
    }
    zipfmt::AesKeys keys = std::move(ready_.front());
    ready_.pop_front();
    lock.unlock();
    taken_.notify_one();
    return keys;
}

} // namespace zipdll
