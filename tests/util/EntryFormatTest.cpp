#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "util/Codepage.h"
#include "util/EntryFormat.h"

namespace {

TEST(RatioText, RoundsAnExactHalfToEven) {
    struct Case {
        std::int32_t size, stored;
        const char* text;
    };
    const Case cases[] = {
        {1000, 400, "60%"},
        {200, 100, "50%"},
        {77, 77, "0%"},
        {8, 7, "12%"},
        {8, 5, "38%"},
        {8, 3, "62%"},
        {8, 1, "88%"},
        {100, 150, "-50%"},
        {3, 4, "-33%"},
        {0, 0, ""},
        {0, 10, ""},
        {-5, 1, ""},
        {1, INT_MIN, "214748364900%"},
        {INT_MAX, 0, "100%"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(util::RatioText(c.size, c.stored), c.text) << c.size << "/" << c.stored;
    }
}

TEST(RatioText, RealSizesRoundExactlyAtEverySize) {
    // k is beyond a double's precision; a hundredfold of 2^63 overflows.
    constexpr std::uint64_t k = (1ull << 53) + 1, k2e63 = 1ull << 63;
    struct Case {
        std::uint64_t size, stored;
        const char* text;
    };
    const Case cases[] = {
        {1000, 400, "60%"},
        {8, 5, "38%"},
        {8, 7, "12%"},
        {100, 150, "-50%"},
        {0, 0, ""},
        {0, 10, ""},
        {(1ull << 32) + 1, 1, "100%"},
        {0xFFFFFFFE, 0xFFFFFFFE, "0%"},
        {8 * k, 5 * k, "38%"},
        {8 * k, 3 * k, "62%"},
        {8 * k, 3 * k - 1, "63%"},
        {k2e63, 5 * (k2e63 / 8), "38%"},
        {k2e63, 7 * (k2e63 / 8), "12%"},
        {k2e63, 3 * (k2e63 / 8) - 1, "63%"},
        {k2e63 / 2, k2e63, "-100%"},
        {UINT64_MAX, 0, "100%"},
        {UINT64_MAX, UINT64_MAX - 1, "0%"},
        {1, UINT64_MAX, ""}, // no percentage fits
    };
    for (const Case& c : cases) {
        EXPECT_EQ(util::RatioText(c.size, c.stored), c.text) << c.size << "/" << c.stored;
    }
}

TEST(DosDateTime, DecodesAndChecksThePackedValue) {
    struct Case {
        std::uint32_t packed;
        const char* iso;
        bool valid;
    };
    const Case cases[] = {
        {(41u << 25 | 3u << 21 | 4u << 16) | (5u << 11 | 6u << 5 | 4u), "2021-03-04 05:06:08",
         true},
        {0, "1980-00-00 00:00:00", false},
        {(20u << 25 | 2u << 21 | 29u << 16), "2000-02-29 00:00:00", true},
        {(21u << 25 | 2u << 21 | 29u << 16), "2001-02-29 00:00:00", false},
        {(1u << 21 | 1u << 16) | (24u << 11), "1980-01-01 24:00:00", false},
        {(127u << 25 | 12u << 21 | 31u << 16) | (23u << 11 | 59u << 5 | 29u), "2107-12-31 23:59:58",
         true},
    };
    for (const Case& c : cases) {
        const auto t = util::DosDateTime::FromPacked(c.packed);
        EXPECT_EQ(util::FormatIso(t), c.iso);
        EXPECT_EQ(t.IsValid(), c.valid) << c.iso;
    }
}

TEST(Codepage, Cp1252ToUtf8) {
    EXPECT_EQ(util::Cp1252ToUtf8("Fichero vac\xEDo o no v\xE1lido"),
              "Fichero vac\xC3\xADo o no v\xC3\xA1lido");
    EXPECT_EQ(util::Cp1252ToUtf8("hasn\xB4t \x80 \x81"), "hasn\xC2\xB4t \xE2\x82\xAC \xEF\xBF\xBD");
    // The program's literals really are Windows-1252 bytes.
    EXPECT_EQ(std::string("í"), "\xED");
}

TEST(Codepage, RecognisesWellFormedUtf8) {
    const std::pair<const char*, bool> cases[] = {
        {"", true},
        {"plain", true},
        {"a\xC3\xB1o", true},        // año
        {"\xE2\x82\xAC", true},      // euro sign
        {"\xF0\x9F\x98\x80", true},  // an emoji
        {"vac\xEDo", false},         // Windows-1252
        {"\xC3", false},             // cut short
        {"\xC0\x80", false},         // overlong
        {"\xED\xA0\x80", false},     // a surrogate
        {"\xF4\x90\x80\x80", false}, // past U+10FFFF
        {"\x80", false},             // a lone continuation byte
    };
    for (const auto& [text, valid] : cases) {
        EXPECT_EQ(util::IsValidUtf8(text), valid) << text;
    }
}

} // namespace
