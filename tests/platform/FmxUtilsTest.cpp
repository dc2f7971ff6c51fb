#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/FmxUtils.h"
#include "platform/Shell.h"
#include "tests/support/TempDir.h"
#include "tests/util/ShellRecorder.h"

namespace {

TEST(LaunchFile, HandsEveryTextWholeToTheShellOwnedByTheMainWindow) {
    ShellRecorder shell;
    platform::SetApplicationWindow(0x1234);
    // Texts of 79, 80 and several hundred characters, and empty ones.
    const std::string longest(300, 'p');
    const std::string cases[] = {std::string(79, 'a'), std::string(80, 'b'), longest, ""};
    for (const std::string& text : cases) {
        EXPECT_EQ(platform::LaunchFile(text, text, text, 5), 42);
    }
    platform::SetApplicationWindow(0);
    ASSERT_EQ(shell.requests.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        const auto& request = shell.requests[i];
        EXPECT_EQ(request.file, cases[i]);
        EXPECT_EQ(request.parameters, cases[i]);
        EXPECT_EQ(request.directory, cases[i]);
        EXPECT_EQ(request.owner, 0x1234u);
        EXPECT_FALSE(request.verb.has_value()) << "the shell's default action";
        EXPECT_EQ(request.showCommand, 5);
    }
}

TEST(FileSizeByName, GivesTheSizeOrMinusOne) {
    TempDir dir;
    const std::string file = dir.Write("seven.bin", "1234567");
    const std::string empty = dir.Write("empty.bin", "");
    EXPECT_EQ(platform::FileSizeByName(file), 7);
    EXPECT_EQ(platform::FileSizeByName(empty), 0);
    EXPECT_EQ(platform::FileSizeByName(dir.File("missing.bin")), -1);
    EXPECT_EQ(platform::FileSizeByName(""), -1);
    // Sparse: past 4 GiB the old call keeps the low 32 bits, the new one the whole size.
    const std::string big = dir.Write("big.bin", "");
    std::filesystem::resize_file(big, (1ull << 32) + 7);
    EXPECT_EQ(platform::FileSizeByName(big), 7);
    EXPECT_EQ(platform::FileSize64ByName(big), (1ll << 32) + 7);
    EXPECT_EQ(platform::FileSize64ByName(file), 7);
    EXPECT_EQ(platform::FileSize64ByName(dir.File("missing.bin")), -1);
}

} // namespace
