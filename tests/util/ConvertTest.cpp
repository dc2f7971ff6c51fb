#include <gtest/gtest.h>

#include "util/Convert.h"
#include "util/InOutError.h"

namespace {

TEST(StrToInt, ConvertsWholeNumbers) {
    struct Case {
        const char* text;
        std::int32_t value;
    };
    const Case cases[] = {
        {"1", 1},
        {"2", 2},
        {"0", 0},
        {"3", 3},
        {"-7", -7},
        {"+8", 8},
        {"  12", 12},
        {"$10", 16},
        {"0x1f", 31},
        {"$FFFFFFFF", -1},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"007", 7},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(util::StrToInt(c.text), c.value) << c.text;
    }
}

TEST(StrToInt, RefusesAnythingElseWithTheFrameworkText) {
    const char* cases[] = {"",   "x",          "1 ",          "1x",         "-",   "$",
                           "0x", "2147483648", "-2147483649", "$100000000", "1.5", " "};
    for (const char* text : cases) {
        try {
            util::StrToInt(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const util::ConvertError& error) {
            EXPECT_EQ(error.what(), "'" + std::string(text) + "' is not a valid integer value");
        }
    }
}

TEST(InOutError, NamesTheCommonCodes) {
    EXPECT_EQ(util::InOutError(2).what(), std::string("File not found"));
    EXPECT_EQ(util::InOutError(3).what(), std::string("Invalid filename"));
    EXPECT_EQ(util::InOutError(5).what(), std::string("Access denied"));
    EXPECT_EQ(util::InOutError(123).what(), std::string("I/O error 123"));
}

} // namespace
