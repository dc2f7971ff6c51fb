#pragma once
// The cryptography seam: the primitives encrypted entries are made of, the same libraries
// in both builds (Wine's bcrypt.dll made an encrypted add three times and an extraction
// seven times slower). Keys come from nettle, whose PBKDF2 reuses the keyed HMAC states
// (libgcrypt's took a third longer a key under Wine); AES and HMAC over the data come from
// libgcrypt, whose 32-bit code uses the CPU's AES and SHA instructions where nettle's runs
// eight times slower. Nothing of them is written here by hand.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace platform {

inline constexpr std::size_t kSha1Size = 20;
inline constexpr std::size_t kAesBlockSize = 16;

// PBKDF2 with HMAC-SHA1; false when the platform refused.
bool DerivePbkdf2HmacSha1(std::span<const std::uint8_t> password,
                          std::span<const std::uint8_t> salt, std::uint32_t iterations,
                          std::span<std::uint8_t> out);

// HMAC-SHA1 over data given in pieces.
class HmacSha1 {
public:
    explicit HmacSha1(std::span<const std::uint8_t> key);
    ~HmacSha1();
    HmacSha1(const HmacSha1&) = delete;
    HmacSha1& operator=(const HmacSha1&) = delete;

    bool Ready() const { return state_ != nullptr; }
    void Update(const std::uint8_t* data, std::size_t count);
    // The code of everything given; the object takes no more data afterwards.
    std::array<std::uint8_t, kSha1Size> Finish();

private:
    struct State;
    std::unique_ptr<State> state_;
};

// AES with a 16-, 24- or 32-byte key, encrypting whole blocks independently (the
// building block of counter mode).
class AesBlocks {
public:
    explicit AesBlocks(std::span<const std::uint8_t> key);
    ~AesBlocks();
    AesBlocks(const AesBlocks&) = delete;
    AesBlocks& operator=(const AesBlocks&) = delete;

    bool Ready() const { return state_ != nullptr; }
    // in and out hold blocks * kAesBlockSize bytes; they may be the same.
    bool Encrypt(const std::uint8_t* in, std::uint8_t* out, std::size_t blocks);

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace platform
