#include "zipformat/TraditionalCipher.h"

#include <random>
#include <zlib.h>

namespace zipfmt {

namespace {

std::uint32_t Crc32Byte(std::uint32_t crc, std::uint8_t b) {
    static const z_crc_t* table = get_crc_table();
    return table[(crc ^ b) & 0xFF] ^ (crc >> 8);
}

} // namespace

TraditionalCipher::TraditionalCipher(std::string_view password)
    : keys_{0x12345678, 0x23456789, 0x34567890} {
    for (const char c : password) {
        UpdateKeys(static_cast<std::uint8_t>(c));
    }
}

std::uint8_t TraditionalCipher::KeyByte() const {
    const std::uint32_t temp = (keys_[2] & 0xFFFF) | 2;
    return static_cast<std::uint8_t>((temp * (temp ^ 1)) >> 8);
}

void TraditionalCipher::UpdateKeys(std::uint8_t plain) {
    keys_[0] = Crc32Byte(keys_[0], plain);
    keys_[1] = (keys_[1] + (keys_[0] & 0xFF)) * 134775813u + 1;
    keys_[2] = Crc32Byte(keys_[2], static_cast<std::uint8_t>(keys_[1] >> 24));
}

void TraditionalCipher::Encrypt(std::uint8_t* data, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t plain = data[i];
        data[i] = static_cast<std::uint8_t>(plain ^ KeyByte());
        UpdateKeys(plain);
    }
}

void TraditionalCipher::Decrypt(std::uint8_t* data, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const auto plain = static_cast<std::uint8_t>(data[i] ^ KeyByte());
        data[i] = plain;
        UpdateKeys(plain);
    }
}

void TraditionalCipher::MakeHeader(std::uint8_t header[kEncryptionHeaderSize],
                                   std::uint8_t checkByte) {
    static thread_local std::mt19937 generator{std::random_device{}()};
    for (std::size_t i = 0; i + 1 < kEncryptionHeaderSize; ++i) {
        header[i] = static_cast<std::uint8_t>(generator() & 0xFF);
    }
    header[kEncryptionHeaderSize - 1] = checkByte;
    Encrypt(header, kEncryptionHeaderSize);
}

bool TraditionalCipher::AcceptHeader(std::uint8_t header[kEncryptionHeaderSize],
                                     std::uint8_t checkByte) {
    Decrypt(header, kEncryptionHeaderSize);
    return header[kEncryptionHeaderSize - 1] == checkByte;
}

} // namespace zipfmt
