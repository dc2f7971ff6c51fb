// Every test program's entry. A message box that no test expected would block a
// window test under Wine for good: here it fails the test and is answered at once.

#include <gtest/gtest.h>

#include "platform/Messages.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    platform::SetMessageBoxHandler([](const platform::MessageBoxRequest& request) {
        ADD_FAILURE() << "unexpected message box: " << request.text;
        return (request.style & platform::kMbYesNo) == platform::kMbYesNo ? platform::kIdNo
                                                                          : platform::kIdOk;
    });
    return RUN_ALL_TESTS();
}
