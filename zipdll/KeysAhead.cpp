#include "zipdll/KeysAhead.h"

#include <system_error>

namespace zipdll {

namespace {
const zipfmt::AesInfo kAes256{zipfmt::kAesVersion2, 3, 0};
} // namespace

KeysAhead::KeysAhead(std::string password, std::size_t count, std::size_t ahead)
    : password_(std::move(password)), left_(count), ahead_(ahead) {
    Launch();
}

KeysAhead::~KeysAhead() {
    ready_.clear(); // waits for what is under way
}

void KeysAhead::Launch() {
    while (left_ > 0 && ready_.size() < ahead_) {
        try {
            ready_.push_back(std::async(
                std::launch::async, [this] { return zipfmt::DeriveAesKeys(kAes256, password_); }));
        } catch (const std::system_error&) {
            return; // no thread to be had: Next derives them itself
        }
        --left_;
    }
}

zipfmt::AesKeys KeysAhead::Next() {
    if (ready_.empty()) {
        if (left_ > 0) {
            --left_;
        }
        return zipfmt::DeriveAesKeys(kAes256, password_);
    }
    zipfmt::AesKeys keys = ready_.front().get();
    ready_.pop_front();
    Launch();
    return keys;
}

} // namespace zipdll
