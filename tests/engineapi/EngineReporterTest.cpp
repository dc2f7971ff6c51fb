#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "engineapi/EngineReporter.h"

namespace {

std::vector<CallbackRecord> heard;

std::int32_t ENGINE_CALL Listen(CallbackRecord* record) {
    heard.push_back(*record);
    return 0;
}

TEST(EngineReporter, AnythingThrownBecomesOneErrorThatSaysWhatAndTheBatchStillEnds) {
    const struct {
        std::function<void()> fail;
        const char* text;
    } cases[] = {
        {[] { throw std::bad_alloc(); }, "Out of memory"},
        {[] { throw std::runtime_error("disk gone"); }, "Internal error (disk gone)"},
        {[] { throw 42; }, "Internal error;"},
    };
    for (const auto& c : cases) {
        heard.clear();
        engineapi::EngineReporter reporter(Listen, nullptr, false);
        const std::int32_t count = engineapi::RunAtBoundary(reporter, [&] {
            c.fail();
            return 5;
        });
        EXPECT_EQ(count, 0) << c.text;
        ASSERT_EQ(heard.size(), 2u) << c.text;
        EXPECT_EQ(heard[0].ErrorCode, kErrInternal) << c.text;
        EXPECT_NE(std::string(heard[0].Text).find(c.text), std::string::npos) << heard[0].Text;
        EXPECT_EQ(heard[1].ActionCode, kActionBatchEnd) << c.text;
    }
}

} // namespace
