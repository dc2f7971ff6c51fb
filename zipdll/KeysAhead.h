#pragma once
// AES keys for the entries of an add, derived on worker threads ahead of their writing:
// deriving them (PBKDF2) costs an entry more than encrypting a small file does. Every
// key has a salt of its own, so any key serves any entry, in the order it was made.
// The threads live as long as the add: under Wine a thread a key cost more than the key.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "zipformat/AesCipher.h"

namespace zipdll {

class KeysAhead {
public:
    // count: how many entries will ask; at most ahead are held or under way at once.
    // Without threads (none asked for, or none could be started) Next derives each key.
    KeysAhead(std::string password, std::size_t count, std::size_t ahead, unsigned threads);
    ~KeysAhead();
    KeysAhead(const KeysAhead&) = delete;
    KeysAhead& operator=(const KeysAhead&) = delete;

    zipfmt::AesKeys Next();

private:
    void Work();

    const std::string password_;
    const std::size_t ahead_;
    std::mutex mutex_;
    std::condition_variable made_, taken_;
    std::deque<zipfmt::AesKeys> ready_;
    std::size_t left_;     // keys not yet started
    std::size_t busy_ = 0; // keys under way
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

} // namespace zipdll
