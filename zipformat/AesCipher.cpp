#include "zipformat/AesCipher.h"

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "zipformat/ArchiveWriter.h"
#include "zipformat/Records.h"

namespace zipfmt {

namespace {

constexpr std::uint32_t kIterations = 1000;
// Blocks of key stream made per call: one call into the platform serves many bytes.
constexpr std::size_t kStreamBlocks = 1024;

} // namespace

std::optional<AesInfo> FindAesInfo(std::span<const std::uint8_t> extra) {
    const auto block = FindExtraBlock(extra, kExtraAes);
    if (block.size() < kAesExtraDataSize || block[2] != 'A' || block[3] != 'E') {
        return std::nullopt;
    }
    AesInfo info;
    info.version = Le16(block.data());
    info.strength = block[4];
    info.method = Le16(block.data() + 5);
    if ((info.version != kAesVersion1 && info.version != kAesVersion2) || info.strength < 1 ||
        info.strength > 3) {
        return std::nullopt;
    }
    return info;
}

std::string AesExtraBlock(const AesInfo& info) {
    std::string block;
    PutLe16(block, kExtraAes);
    PutLe16(block, kAesExtraDataSize);
    PutLe16(block, info.version);
    block += "AE";
    block += static_cast<char>(info.strength);
    PutLe16(block, info.method);
    return block;
}

std::string MakeAesSalt(const AesInfo& info) {
    // Salts need only never repeat under one password; the system's source seeds them.
    static thread_local std::mt19937_64 generator{[] {
        std::random_device device;
        std::seed_seq seed{device(), device(), device(), device()};
        return std::mt19937_64(seed);
    }()};
    std::string salt(info.SaltSize(), '\0');
    for (char& c : salt) {
        c = static_cast<char>(generator() & 0xFF);
    }
    return salt;
}

AesKeys DeriveAesKeys(const AesInfo& info, std::string_view password,
                      std::span<const std::uint8_t> salt) {
    AesKeys keys;
    keys.salt.assign(salt.begin(), salt.end());
    keys.material.resize(2 * info.KeySize() + kAesVerifierSize);
    const auto* p = reinterpret_cast<const std::uint8_t*>(password.data());
    if (!platform::DerivePbkdf2HmacSha1({p, password.size()}, salt, kIterations, keys.material)) {
        keys.material.clear();
    }
    return keys;
}

AesKeys DeriveAesKeys(const AesInfo& info, std::string_view password) {
    const std::string salt = MakeAesSalt(info);
    return DeriveAesKeys(info, password,
                         {reinterpret_cast<const std::uint8_t*>(salt.data()), salt.size()});
}

AesCipher::AesCipher(const AesInfo& info, const AesKeys& derived)
    : stream_(kStreamBlocks * platform::kAesBlockSize) {
    const std::size_t keySize = info.KeySize();
    const std::vector<std::uint8_t>& keys = derived.material;
    if (keys.size() != 2 * keySize + kAesVerifierSize) {
        return;
    }
    aes_.emplace(std::span(keys).first(keySize));
    hmac_.emplace(std::span(keys).subspan(keySize, keySize));
    std::copy_n(keys.data() + 2 * keySize, kAesVerifierSize, verifier_.begin());
    if (!aes_->Ready() || !hmac_->Ready()) {
        aes_.reset();
        hmac_.reset();
    }
}

AesCipher::~AesCipher() = default;

bool AesCipher::Ready() const {
    return aes_.has_value();
}

bool AesCipher::Apply(std::uint8_t* data, std::size_t count) {
    while (count > 0) {
        if (streamAt_ == streamLength_) {
            // The counter blocks, then their encryption in place; no more than the data
            // asks for, as most entries are far smaller than the buffer.
            const std::size_t blocks = std::min(
                kStreamBlocks, (count + platform::kAesBlockSize - 1) / platform::kAesBlockSize);
            std::uint8_t* s = stream_.data();
            std::memset(s, 0, blocks * platform::kAesBlockSize);
            for (std::size_t b = 0; b < blocks; ++b) {
                std::uint64_t n = ++counter_;
                for (std::size_t i = 0; i < 8; ++i, n >>= 8) {
                    s[b * platform::kAesBlockSize + i] = static_cast<std::uint8_t>(n);
                }
            }
            if (!aes_->Encrypt(s, s, blocks)) {
                return false;
            }
            streamAt_ = 0;
            streamLength_ = blocks * platform::kAesBlockSize;
        }
        const std::size_t n = std::min(count, streamLength_ - streamAt_);
        const std::uint8_t* key = stream_.data() + streamAt_;
        for (std::size_t i = 0; i < n; ++i) {
            data[i] ^= key[i];
        }
        streamAt_ += n;
        data += n;
        count -= n;
    }
    return true;
}

bool AesCipher::Encrypt(std::uint8_t* data, std::size_t count) {
    if (!Ready() || !Apply(data, count)) {
        return false;
    }
    hmac_->Update(data, count);
    return true;
}

bool AesCipher::Decrypt(std::uint8_t* data, std::size_t count) {
    if (!Ready()) {
        return false;
    }
    hmac_->Update(data, count);
    return Apply(data, count);
}

std::array<std::uint8_t, kAesCodeSize> AesCipher::Code() {
    std::array<std::uint8_t, kAesCodeSize> code{};
    if (Ready()) {
        const auto full = hmac_->Finish();
        std::copy_n(full.begin(), kAesCodeSize, code.begin());
    }
    return code;
}

} // namespace zipfmt
