#include "platform/Crypto.h"

#include <nettle/aes.h>
#include <nettle/hmac.h>
#include <nettle/pbkdf2.h>

namespace platform {

bool DerivePbkdf2HmacSha1(std::span<const std::uint8_t> password,
                          std::span<const std::uint8_t> salt, std::uint32_t iterations,
                          std::span<std::uint8_t> out) {
    if (iterations == 0) {
        return false;
    }
    pbkdf2_hmac_sha1(password.size(), password.data(), iterations, salt.size(), salt.data(),
                     out.size(), out.data());
    return true;
}

struct HmacSha1::State {
    hmac_sha1_ctx context;
};

HmacSha1::HmacSha1(std::span<const std::uint8_t> key) : state_(std::make_unique<State>()) {
    hmac_sha1_set_key(&state_->context, key.size(), key.data());
}

HmacSha1::~HmacSha1() = default;

void HmacSha1::Update(const std::uint8_t* data, std::size_t count) {
    if (state_ && count > 0) {
        hmac_sha1_update(&state_->context, count, data);
    }
}

std::array<std::uint8_t, kSha1Size> HmacSha1::Finish() {
    std::array<std::uint8_t, kSha1Size> code{};
    if (state_) {
        hmac_sha1_digest(&state_->context, code.size(), code.data());
        state_.reset();
    }
    return code;
}

struct AesBlocks::State {
    std::size_t keySize = 0;
    union {
        aes128_ctx k128;
        aes192_ctx k192;
        aes256_ctx k256;
    };
};

AesBlocks::AesBlocks(std::span<const std::uint8_t> key) {
    auto state = std::make_unique<State>();
    state->keySize = key.size();
    switch (key.size()) {
    case AES128_KEY_SIZE:
        aes128_set_encrypt_key(&state->k128, key.data());
        break;
    case AES192_KEY_SIZE:
        aes192_set_encrypt_key(&state->k192, key.data());
        break;
    case AES256_KEY_SIZE:
        aes256_set_encrypt_key(&state->k256, key.data());
        break;
    default:
        return;
    }
    state_ = std::move(state);
}

AesBlocks::~AesBlocks() = default;

bool AesBlocks::Encrypt(const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) {
    if (!state_) {
        return false;
    }
    const std::size_t length = blocks * kAesBlockSize;
    switch (state_->keySize) {
    case AES128_KEY_SIZE:
        aes128_encrypt(&state_->k128, length, out, in);
        break;
    case AES192_KEY_SIZE:
        aes192_encrypt(&state_->k192, length, out, in);
        break;
    default:
        aes256_encrypt(&state_->k256, length, out, in);
        break;
    }
    return true;
}

} // namespace platform
