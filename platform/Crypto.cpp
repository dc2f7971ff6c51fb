#include "platform/Crypto.h"

#include <gcrypt.h>
#include <nettle/pbkdf2.h>

#include <algorithm>

namespace platform {

namespace {

// libgcrypt wants its version checked once before any other call.
bool GcryptReady() {
    static const bool ready = [] {
        if (gcry_check_version(GCRYPT_VERSION) == nullptr) {
            return false;
        }
        gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
        return true;
    }();
    return ready;
}

} // namespace

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
    gcry_md_hd_t handle = nullptr;
    ~State() { gcry_md_close(handle); }
};

HmacSha1::HmacSha1(std::span<const std::uint8_t> key) {
    auto state = std::make_unique<State>();
    if (!GcryptReady() || gcry_md_open(&state->handle, GCRY_MD_SHA1, GCRY_MD_FLAG_HMAC) != 0 ||
        gcry_md_setkey(state->handle, key.data(), key.size()) != 0) {
        return;
    }
    state_ = std::move(state);
}

HmacSha1::~HmacSha1() = default;

void HmacSha1::Update(const std::uint8_t* data, std::size_t count) {
    if (state_ && count > 0) {
        gcry_md_write(state_->handle, data, count);
    }
}

std::array<std::uint8_t, kSha1Size> HmacSha1::Finish() {
    std::array<std::uint8_t, kSha1Size> code{};
    if (state_) {
        const unsigned char* digest = gcry_md_read(state_->handle, GCRY_MD_SHA1);
        if (digest != nullptr) {
            std::copy_n(digest, code.size(), code.begin());
        }
        state_.reset();
    }
    return code;
}

struct AesBlocks::State {
    gcry_cipher_hd_t handle = nullptr;
    ~State() { gcry_cipher_close(handle); }
};

AesBlocks::AesBlocks(std::span<const std::uint8_t> key) {
    int algorithm = 0;
    switch (key.size()) {
    case 16:
        algorithm = GCRY_CIPHER_AES128;
        break;
    case 24:
        algorithm = GCRY_CIPHER_AES192;
        break;
    case 32:
        algorithm = GCRY_CIPHER_AES256;
        break;
    default:
        return;
    }
    auto state = std::make_unique<State>();
    if (!GcryptReady() ||
        gcry_cipher_open(&state->handle, algorithm, GCRY_CIPHER_MODE_ECB, 0) != 0 ||
        gcry_cipher_setkey(state->handle, key.data(), key.size()) != 0) {
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
    // libgcrypt encrypts in place only when told so by a missing input.
    const gcry_error_t error = in == out
                                   ? gcry_cipher_encrypt(state_->handle, out, length, nullptr, 0)
                                   : gcry_cipher_encrypt(state_->handle, out, length, in, length);
    return error == 0;
}

} // namespace platform
