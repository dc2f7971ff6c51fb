#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Crypto.h"

namespace {

std::vector<std::uint8_t> Hex(const std::string& hex) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

std::vector<std::uint8_t> Repeat(std::uint8_t byte, std::size_t n) {
    return std::vector<std::uint8_t>(n, byte);
}

// RFC 6070.
TEST(Crypto, Pbkdf2HmacSha1MatchesPublishedVectors) {
    struct Case {
        std::string password, salt;
        std::uint32_t iterations;
        std::string expected;
    };
    const Case cases[] = {
        {"password", "salt", 1, "0c60c80f961f0e71f3a9b524af6012062fe037a6"},
        {"password", "salt", 2, "ea6c014dc72d6f8ccd1ed92ace1d41f0d8de8957"},
        {"password", "salt", 4096, "4b007901b765489abead49d926f721d065a429c1"},
        {"passwordPASSWORDpassword", "saltSALTsaltSALTsaltSALTsaltSALTsalt", 4096,
         "3d2eec4fe41c849b80c8d83662c0e44a8b291a964cf2f07038"},
        {std::string("pass\0word", 9), std::string("sa\0lt", 5), 4096,
         "56fa6aa75548099dcc37d7f03425e0c3"},
    };
    for (const Case& c : cases) {
        const auto expected = Hex(c.expected);
        std::vector<std::uint8_t> out(expected.size());
        ASSERT_TRUE(
            platform::DerivePbkdf2HmacSha1(Bytes(c.password), Bytes(c.salt), c.iterations, out));
        EXPECT_EQ(out, expected) << c.password << " " << c.iterations;
    }
}

// RFC 2202, each message given in two pieces.
TEST(Crypto, HmacSha1MatchesPublishedVectors) {
    struct Case {
        std::vector<std::uint8_t> key, data;
        std::string expected;
    };
    const Case cases[] = {
        {Repeat(0x0b, 20), Bytes("Hi There"), "b617318655057264e28bc0b6fb378c8ef146be00"},
        {Bytes("Jefe"), Bytes("what do ya want for nothing?"),
         "effcdf6ae5eb2fa2d27416d5f184df9c259a7c79"},
        {Repeat(0xaa, 20), Repeat(0xdd, 50), "125d7342b9ac11cd91a39af48aa17b4f63f175d3"},
        {Repeat(0xaa, 80), Bytes("Test Using Larger Than Block-Size Key - Hash Key First"),
         "aa4ae5e15272d00e95705637ce8a3b55ed402112"},
    };
    for (const Case& c : cases) {
        platform::HmacSha1 hmac(c.key);
        ASSERT_TRUE(hmac.Ready());
        const std::size_t half = c.data.size() / 2;
        hmac.Update(c.data.data(), half);
        hmac.Update(c.data.data() + half, c.data.size() - half);
        const auto code = hmac.Finish();
        EXPECT_EQ(std::vector<std::uint8_t>(code.begin(), code.end()), Hex(c.expected));
    }
}

// NIST SP 800-38A, F.5.1, F.5.3 and F.5.5: counter mode from block encryption.
TEST(Crypto, AesBlocksMakeThePublishedCounterModeStream) {
    const std::string counter = "f0f1f2f3f4f5f6f7f8f9fafbfcfdfe";
    const auto counters = Hex(counter + "ff" + counter.substr(0, 28) + "ff00" +
                              counter.substr(0, 28) + "ff01" + counter.substr(0, 28) + "ff02");
    const auto plain = Hex("6bc1bee22e409f96e93d7e117393172aae2d8a571e03ac9c9eb76fac45af8e51"
                           "30c81c46a35ce411e5fbc1191a0a52eff69f2445df4f9b17ad2b417be66c3710");
    struct Case {
        std::string key, cipher;
    };
    const Case cases[] = {
        {"2b7e151628aed2a6abf7158809cf4f3c",
         "874d6191b620e3261bef6864990db6ce9806f66b7970fdff8617187bb9fffdff"
         "5ae4df3edbd5d35e5b4f09020db03eab1e031dda2fbe03d1792170a0f3009cee"},
        {"8e73b0f7da0e6452c810f32b809079e562f8ead2522c6b7b",
         "1abc932417521ca24f2b0459fe7e6e0b090339ec0aa6faefd5ccc2c6f4ce8e94"
         "1e36b26bd1ebc670d1bd1d665620abf74f78a7f6d29809585a97daec58c6b050"},
        {"603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4",
         "601ec313775789a5b7a7f504bbf3d228f443e3ca4d62b59aca84e990cacaf5c5"
         "2b0930daa23de94ce87017ba2d84988ddfc9c58db67aada613c2dd08457941a6"},
    };
    for (const Case& c : cases) {
        platform::AesBlocks aes(Hex(c.key));
        ASSERT_TRUE(aes.Ready());
        std::vector<std::uint8_t> stream(counters.size());
        ASSERT_TRUE(aes.Encrypt(counters.data(), stream.data(), 4));
        // In place, as the entry cipher calls it, the blocks come out the same.
        std::vector<std::uint8_t> inPlace = counters;
        ASSERT_TRUE(aes.Encrypt(inPlace.data(), inPlace.data(), 4));
        EXPECT_EQ(inPlace, stream) << c.key;
        for (std::size_t i = 0; i < stream.size(); ++i) {
            stream[i] ^= plain[i];
        }
        EXPECT_EQ(stream, Hex(c.cipher)) << c.key;
    }
    EXPECT_FALSE(platform::AesBlocks(Hex("00112233")).Ready());
}

} // namespace
