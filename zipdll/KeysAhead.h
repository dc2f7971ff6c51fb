#pragma once
// AES keys for the entries of an add, derived on other threads ahead of their writing:
// deriving them (PBKDF2) costs an entry more than encrypting a small file does.

#include <cstddef>
#include <deque>
#include <future>
#include <string>

#include "zipformat/AesCipher.h"

namespace zipdll {

class KeysAhead {
public:
    // count: how many entries will ask; at most ahead are derived at once.
    KeysAhead(std::string password, std::size_t count, std::size_t ahead);
    ~KeysAhead();
    KeysAhead(const KeysAhead&) = delete;
    KeysAhead& operator=(const KeysAhead&) = delete;

    // The next entry's keys, each with a salt of its own.
    zipfmt::AesKeys Next();

private:
    void Launch();

    std::string password_;
    std::size_t left_; // keys not yet started
    std::size_t ahead_;
    std::deque<std::future<zipfmt::AesKeys>> ready_;
};

} // namespace zipdll
