#pragma once
// The traditional zip encryption (the application note's section 6.1): three keys
// stirred by the password and by every plain byte.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "zipformat/Records.h"

namespace zipfmt {

inline constexpr std::size_t kEncryptionHeaderSize = 12;

class TraditionalCipher {
public:
    explicit TraditionalCipher(std::string_view password);

    void Encrypt(std::uint8_t* data, std::size_t count);
    void Decrypt(std::uint8_t* data, std::size_t count);

    // Makes the 12-byte header that starts an entry's data, random but for its last
    // byte, the check byte; encrypts it in place.
    void MakeHeader(std::uint8_t header[kEncryptionHeaderSize], std::uint8_t checkByte);
    // Decrypts a header; true when its last byte is the check byte.
    bool AcceptHeader(std::uint8_t header[kEncryptionHeaderSize], std::uint8_t checkByte);

private:
    std::uint8_t KeyByte() const;
    void UpdateKeys(std::uint8_t plain);

    std::uint32_t keys_[3];
};

// The check byte an entry's header carries: the CRC's high byte, or, for an entry
// written with a data descriptor, the high byte of its DOS time.
inline std::uint8_t EncryptionCheckByte(std::uint16_t flags, std::uint32_t crc,
                                        std::uint32_t dosDateTime) {
    return (flags & kFlagDataDescriptor) ? static_cast<std::uint8_t>((dosDateTime >> 8) & 0xFF)
                                         : static_cast<std::uint8_t>(crc >> 24);
}

} // namespace zipfmt
