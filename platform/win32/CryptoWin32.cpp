#include "platform/Crypto.h"

#include <windows.h>

#include <bcrypt.h>

#include <algorithm>

namespace platform {

namespace {

// The algorithm providers, opened once per process and kept: opening one costs far
// more than using it, and every entry of an archive uses them.
class Provider {
public:
    Provider(const wchar_t* algorithm, ULONG flags, const wchar_t* chaining) {
        if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&handle_, algorithm, nullptr, flags))) {
            handle_ = nullptr;
            return;
        }
        if (chaining && !BCRYPT_SUCCESS(BCryptSetProperty(
                            handle_, BCRYPT_CHAINING_MODE,
                            reinterpret_cast<PUCHAR>(const_cast<wchar_t*>(chaining)),
                            static_cast<ULONG>((wcslen(chaining) + 1) * sizeof(wchar_t)), 0))) {
            BCryptCloseAlgorithmProvider(handle_, 0);
            handle_ = nullptr;
        }
    }
    ~Provider() {
        if (handle_) {
            BCryptCloseAlgorithmProvider(handle_, 0);
        }
    }
    Provider(const Provider&) = delete;
    Provider& operator=(const Provider&) = delete;
    BCRYPT_ALG_HANDLE Get() const { return handle_; }

private:
    BCRYPT_ALG_HANDLE handle_ = nullptr;
};

BCRYPT_ALG_HANDLE HmacProvider() {
    static const Provider provider(BCRYPT_SHA1_ALGORITHM, BCRYPT_ALG_HANDLE_HMAC_FLAG, nullptr);
    return provider.Get();
}

BCRYPT_ALG_HANDLE AesEcbProvider() {
    static const Provider provider(BCRYPT_AES_ALGORITHM, 0, BCRYPT_CHAIN_MODE_ECB);
    return provider.Get();
}

PUCHAR Bytes(const std::uint8_t* p) {
    return const_cast<PUCHAR>(reinterpret_cast<const UCHAR*>(p));
}

} // namespace

bool DerivePbkdf2HmacSha1(std::span<const std::uint8_t> password,
                          std::span<const std::uint8_t> salt, std::uint32_t iterations,
                          std::span<std::uint8_t> out) {
    const BCRYPT_ALG_HANDLE hmac = HmacProvider();
    return hmac && iterations > 0 &&
           BCRYPT_SUCCESS(BCryptDeriveKeyPBKDF2(
               hmac, Bytes(password.data()), static_cast<ULONG>(password.size()),
               Bytes(salt.data()), static_cast<ULONG>(salt.size()), iterations, out.data(),
               static_cast<ULONG>(out.size()), 0));
}

struct HmacSha1::State {
    BCRYPT_HASH_HANDLE hash = nullptr;
    ~State() {
        if (hash) {
            BCryptDestroyHash(hash);
        }
    }
};

HmacSha1::HmacSha1(std::span<const std::uint8_t> key) {
    auto state = std::make_unique<State>();
    const BCRYPT_ALG_HANDLE hmac = HmacProvider();
    if (hmac && BCRYPT_SUCCESS(BCryptCreateHash(hmac, &state->hash, nullptr, 0, Bytes(key.data()),
                                                static_cast<ULONG>(key.size()), 0))) {
        state_ = std::move(state);
    }
}

HmacSha1::~HmacSha1() = default;

void HmacSha1::Update(const std::uint8_t* data, std::size_t count) {
    while (state_ && count > 0) {
        const ULONG piece = static_cast<ULONG>(std::min<std::size_t>(count, 1u << 30));
        if (!BCRYPT_SUCCESS(BCryptHashData(state_->hash, Bytes(data), piece, 0))) {
            state_.reset(); // Finish then yields a code that matches nothing
        }
        data += piece;
        count -= piece;
    }
}

std::array<std::uint8_t, kSha1Size> HmacSha1::Finish() {
    std::array<std::uint8_t, kSha1Size> code{};
    if (state_ && !BCRYPT_SUCCESS(BCryptFinishHash(state_->hash, code.data(), code.size(), 0))) {
        code.fill(0);
    }
    state_.reset();
    return code;
}

struct AesBlocks::State {
    BCRYPT_KEY_HANDLE key = nullptr;
    ~State() {
        if (key) {
            BCryptDestroyKey(key);
        }
    }
};

AesBlocks::AesBlocks(std::span<const std::uint8_t> key) {
    if (key.size() != 16 && key.size() != 24 && key.size() != 32) {
        return;
    }
    auto state = std::make_unique<State>();
    const BCRYPT_ALG_HANDLE aes = AesEcbProvider();
    if (aes &&
        BCRYPT_SUCCESS(BCryptGenerateSymmetricKey(aes, &state->key, nullptr, 0, Bytes(key.data()),
                                                  static_cast<ULONG>(key.size()), 0))) {
        state_ = std::move(state);
    }
}

AesBlocks::~AesBlocks() = default;

bool AesBlocks::Encrypt(const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) {
    if (!state_) {
        return false;
    }
    const ULONG length = static_cast<ULONG>(blocks * kAesBlockSize);
    ULONG written = 0;
    return BCRYPT_SUCCESS(BCryptEncrypt(state_->key, Bytes(in), length, nullptr, nullptr, 0, out,
                                        length, &written, 0)) &&
           written == length;
}

} // namespace platform
