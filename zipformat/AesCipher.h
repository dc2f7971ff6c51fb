#pragma once
// The AES encryption of zip entries (AE-1 and AE-2): method 99, an extra block naming
// the key length and the real method, then per entry a salt, a two-byte password
// check, the data in counter mode (a little-endian counter from 1) and the first ten
// bytes of an HMAC-SHA1 over the encrypted data. Keys come from PBKDF2.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Crypto.h"
#include "zipformat/Buffer.h"

namespace zipfmt {

inline constexpr std::uint16_t kMethodAes = 99;
inline constexpr std::uint16_t kExtraAes = 0x9901;
inline constexpr std::size_t kAesExtraDataSize = 7;
inline constexpr std::size_t kAesVerifierSize = 2;
inline constexpr std::size_t kAesCodeSize = 10;
inline constexpr std::uint16_t kAesVersion1 = 1; // CRC-32 kept and checked
inline constexpr std::uint16_t kAesVersion2 = 2; // CRC-32 left 0 and not checked

// What the 0x9901 block says of an entry.
struct AesInfo {
    std::uint16_t version = kAesVersion2;
    std::uint8_t strength = 3; // 1, 2, 3: 128-, 192-, 256-bit keys
    std::uint16_t method = 0;  // the real compression method

    std::size_t KeySize() const { return 8 + 8 * std::size_t{strength}; }
    std::size_t SaltSize() const { return 4 + 4 * std::size_t{strength}; }
    // Bytes an entry's data takes beyond the encrypted data itself.
    std::size_t Overhead() const { return SaltSize() + kAesVerifierSize + kAesCodeSize; }
};

// The block of an extra field, when it is there and well formed.
std::optional<AesInfo> FindAesInfo(std::span<const std::uint8_t> extra);
// The whole block (id, length and data), to write.
std::string AesExtraBlock(const AesInfo& info);

// The keys of one entry from its password and salt: the slow part (PBKDF2), which
// may run on another thread ahead of the entry's writing.
struct AesKeys {
    std::string salt;
    std::vector<std::uint8_t> material; // AES key, HMAC key, password check; empty: failed
};
AesKeys DeriveAesKeys(const AesInfo& info, std::string_view password,
                      std::span<const std::uint8_t> salt);
// The same with a fresh random salt, for a new entry.
AesKeys DeriveAesKeys(const AesInfo& info, std::string_view password);

class AesCipher {
public:
    AesCipher(const AesInfo& info, const AesKeys& keys);
    // Derives the keys of an entry from its password and salt (info.SaltSize() bytes).
    AesCipher(const AesInfo& info, std::string_view password, std::span<const std::uint8_t> salt)
        : AesCipher(info, DeriveAesKeys(info, password, salt)) {}
    ~AesCipher();
    AesCipher(const AesCipher&) = delete;
    AesCipher& operator=(const AesCipher&) = delete;

    // False when the platform refused the keys.
    bool Ready() const;
    const std::array<std::uint8_t, kAesVerifierSize>& Verifier() const { return verifier_; }

    // Encrypting and decrypting take the same stream; the code covers encrypted bytes.
    bool Encrypt(std::uint8_t* data, std::size_t count);
    bool Decrypt(std::uint8_t* data, std::size_t count);
    std::array<std::uint8_t, kAesCodeSize> Code();

private:
    bool Apply(std::uint8_t* data, std::size_t count);

    std::optional<platform::AesBlocks> aes_;
    std::optional<platform::HmacSha1> hmac_;
    std::array<std::uint8_t, kAesVerifierSize> verifier_{};
    std::uint64_t counter_ = 0; // the last block number used
    Buffer stream_;             // key stream made ahead, in whole blocks
    std::size_t streamAt_ = 0, streamLength_ = 0;
};

// A fresh random salt of the size info asks for.
std::string MakeAesSalt(const AesInfo& info);

} // namespace zipfmt
