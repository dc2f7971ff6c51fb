#include <gtest/gtest.h>

#include <set>

#include "zipdll/KeysAhead.h"

namespace {

// Every key handed out is the password's key for its own salt, no salt comes twice,
// and asking beyond the count or without threads still yields keys (no wait forever).
TEST(KeysAhead, EveryKeyIsThePasswordsForAFreshSaltWhateverTheThreads) {
    const zipfmt::AesInfo aes256{zipfmt::kAesVersion2, 3, 0};
    struct Case {
        std::size_t count, ahead, asked;
        unsigned threads;
    };
    for (const Case c : {Case{0, 2, 1, 2}, Case{1, 1, 1, 0}, Case{5, 2, 5, 2}, Case{5, 1, 7, 3},
                         Case{9, 4, 3, 2}}) {
        SCOPED_TRACE(testing::Message() << c.count << " keys, " << c.threads << " threads");
        zipdll::KeysAhead keys("p\xE4ss", c.count, c.ahead, c.threads);
        std::set<std::string> salts;
        for (std::size_t i = 0; i < c.asked; ++i) {
            const zipfmt::AesKeys got = keys.Next();
            ASSERT_EQ(got.salt.size(), aes256.SaltSize());
            const auto* salt = reinterpret_cast<const std::uint8_t*>(got.salt.data());
            EXPECT_EQ(got.material,
                      zipfmt::DeriveAesKeys(aes256, "p\xE4ss", {salt, got.salt.size()}).material);
            salts.insert(got.salt);
        }
        EXPECT_EQ(salts.size(), c.asked);
    } // the last case leaves keys made ahead: dropping them must not hang
}

} // namespace
