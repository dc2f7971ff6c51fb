#include <gtest/gtest.h>

#include <numeric>

#include "platform/BufferedReader.h"
#include "platform/ProgramPaths.h"
#include "tests/support/TempDir.h"

namespace {

std::string Counting(std::size_t n) {
    std::string bytes(n, 0);
    std::iota(bytes.begin(), bytes.end(), 0);
    return bytes;
}

TEST(BufferedReader, ReadsSkipsAndPeeksAcrossBufferEdges) {
    TempDir dir;
    const std::string bytes = Counting(1000);
    auto file = platform::FileHandle::OpenForReading(dir.Write("f", bytes));
    ASSERT_TRUE(file);
    platform::BufferedReader in(*file, 64);
    EXPECT_EQ(in.Size(), 1000);
    EXPECT_EQ(in.ReadByte(), 0);
    char block[100];
    ASSERT_EQ(in.Read(block, 100), 100u);
    EXPECT_EQ(std::string(block, 100), bytes.substr(1, 100));
    EXPECT_EQ(in.Skip(50), 151);
    const auto peeked = in.Peek(10);
    ASSERT_EQ(peeked.size(), 10u);
    EXPECT_EQ(peeked[0], static_cast<std::uint8_t>(bytes[151]));
    EXPECT_EQ(in.Position(), 151);
    EXPECT_EQ(in.Peek(1000).size(), 64u) << "capped at the capacity";
    EXPECT_EQ(in.ReadByte(), static_cast<std::uint8_t>(bytes[151]));
}

TEST(BufferedReader, NeverMovesPastTheEndOrBackwards) {
    TempDir dir;
    auto file = platform::FileHandle::OpenForReading(dir.Write("f", Counting(100)));
    ASSERT_TRUE(file);
    platform::BufferedReader in(*file, 64);
    EXPECT_EQ(in.Skip(90), 90);
    EXPECT_EQ(in.Skip(-50), 90);
    EXPECT_EQ(in.Skip(INT64_MAX), 100);
    EXPECT_EQ(in.ReadByte(), -1);
    char block[8];
    EXPECT_EQ(in.Read(block, 8), 0u);
    EXPECT_TRUE(in.Peek(4).empty());
    in.Seek(96);
    EXPECT_EQ(in.Read(block, 8), 4u);
    in.Seek(5000);
    EXPECT_EQ(in.ReadByte(), -1);
    EXPECT_EQ(in.Skip(10), 5000);
}

TEST(FileHandle, OpensOnlyExistingFiles) {
    TempDir dir;
    EXPECT_FALSE(platform::FileHandle::OpenForReading(dir.File("missing")));
    EXPECT_FALSE(platform::FileHandle::OpenForReading(dir.Path().string()));
    EXPECT_TRUE(platform::FileExists(dir.Write("there", "x")));
    EXPECT_FALSE(platform::FileExists(dir.Path().string()));
    EXPECT_TRUE(platform::DirectoryExists(dir.Path().string()));
    EXPECT_FALSE(platform::FileExists(""));
}

} // namespace
