#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "zipformat/AesCipher.h"

namespace {

// The key stream runs on across calls: data given in pieces of any sizes (across the
// stream's refills too) encrypts to the bytes and code of one piece, and decrypts back.
TEST(AesCipher, PiecesOfAnySizeMakeTheStreamAndCodeOfOnePiece) {
    const zipfmt::AesInfo info{zipfmt::kAesVersion2, 3, 0};
    const std::vector<std::uint8_t> salt(info.SaltSize(), 7);
    std::vector<std::uint8_t> plain(40000);
    for (std::size_t i = 0; i < plain.size(); ++i) {
        plain[i] = static_cast<std::uint8_t>(i * 31 + i / 251);
    }
    auto encrypted = plain;
    zipfmt::AesCipher whole(info, "secret", salt);
    ASSERT_TRUE(whole.Encrypt(encrypted.data(), encrypted.size()));
    const auto code = whole.Code();
    ASSERT_NE(encrypted, plain);

    for (const std::vector<std::size_t>& pieces : {std::vector<std::size_t>{1, 15, 16, 17, 5},
                                                   {3, 16 * 1024 - 3, 16 * 1024 + 1},
                                                   {16 * 1024, 7, 16 * 1024 * 2 + 9}}) {
        SCOPED_TRACE(testing::Message() << "first piece " << pieces[0]);
        auto bytes = plain;
        zipfmt::AesCipher encrypt(info, "secret", salt), decrypt(info, "secret", salt);
        std::size_t at = 0;
        for (std::size_t i = 0; at < bytes.size(); ++i) {
            const std::size_t n = std::min(pieces[i % pieces.size()], bytes.size() - at);
            ASSERT_TRUE(encrypt.Encrypt(bytes.data() + at, n));
            at += n;
        }
        EXPECT_EQ(bytes, encrypted);
        EXPECT_EQ(encrypt.Code(), code);
        for (at = 0; at < bytes.size();) {
            const std::size_t n = std::min<std::size_t>(4099, bytes.size() - at);
            ASSERT_TRUE(decrypt.Decrypt(bytes.data() + at, n));
            at += n;
        }
        EXPECT_EQ(bytes, plain);
        EXPECT_EQ(decrypt.Code(), code);
    }
}

} // namespace
