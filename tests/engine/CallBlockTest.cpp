// The call blocks as the libraries receive them: checked from the raw bytes, at the
// documented 32-bit offsets (on 64-bit the address fields widen, in order).

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>

#include "engine/EngineCallback.h"
#include "engine/ZipEngine.h"
#include "tests/engine/FakeLibraries.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/TempDir.h"
#include "tests/support/ZipBytes.h"

namespace {

// Maps the documented 32-bit offsets of a block to this build's.
class BlockLayout {
public:
    BlockLayout(int fields, std::set<int> addressOffsets) : addresses_(std::move(addressOffsets)) {
        std::size_t at = 0;
        for (int offset32 = 0; offset32 < fields * 4; offset32 += 4) {
            const std::size_t width = addresses_.count(offset32) ? sizeof(void*) : 4;
            at = (at + width - 1) / width * width;
            offsets_[offset32] = at;
            at += width;
        }
    }

    std::int32_t Int(const unsigned char* block, int offset32) const {
        std::int32_t value;
        std::memcpy(&value, block + offsets_.at(offset32), sizeof value);
        return value;
    }
    std::uintptr_t Address(const unsigned char* block, int offset32) const {
        std::uintptr_t value;
        std::memcpy(&value, block + offsets_.at(offset32), sizeof value);
        return value;
    }
    bool IsAddress(int offset32) const { return addresses_.count(offset32) != 0; }

private:
    std::set<int> addresses_;
    std::map<int, std::size_t> offsets_;
};

const BlockLayout kZipLayout(33, {0, 4, 12, 20, 124});
const BlockLayout kUnzLayout(19, {0, 4, 12, 24, 68});

enum class Op { Add, Delete, Extract };

struct Case {
    const char* what;
    Op op;
    AddOpts add;
    ExtrOpts extr;
    bool verbose;
    bool trace;
    std::int32_t level;
    // Every 32-bit field that is not an address, by its documented offset.
    std::map<int, std::int32_t> fields;
};

constexpr std::int32_t T = -1;

std::vector<Case> Cases() {
    using A = AddOptsEnum;
    using E = ExtrOptsEnum;
    const AddOpts all{A::AddDirNames, A::AddRecurseDirs, A::AddMove,
                      A::AddFreshen,  A::AddUpdate,      A::AddZipTime,
                      A::AddForceDOS, A::AddHiddenFiles, A::AddEncrypt};
    return {
        {"add with the main window's options",
         Op::Add,
         {A::AddRecurseDirs, A::AddHiddenFiles},
         {},
         false,
         false,
         12,
         {{8, 130}, {16, 0},  {24, 0},  {28, 0},  {32, T},  {36, 0},  {40, 0},
          {44, T},  {48, 0},  {52, 0},  {56, T},  {60, 12}, {64, 0},  {68, 0},
          {72, T},  {76, T},  {80, T},  {84, 0},  {88, 0},  {92, 0},  {96, 0},
          {100, 0}, {104, 0}, {108, 0}, {112, 0}, {116, 0}, {120, 2}, {128, 7}}},
        {"add with every option: update wins over freshen",
         Op::Add,
         all,
         {},
         false,
         true,
         3,
         {{8, 130}, {16, T},  {24, 0},  {28, T},  {32, T},  {36, 0},  {40, 0},
          {44, T},  {48, 0},  {52, T},  {56, T},  {60, 3},  {64, 0},  {68, 0},
          {72, 0},  {76, T},  {80, T},  {84, T},  {88, T},  {92, 0},  {96, T},
          {100, 0}, {104, 0}, {108, T}, {112, 0}, {116, 0}, {120, 2}, {128, 7}}},
        {"add with freshen alone and an odd level",
         Op::Add,
         {A::AddFreshen},
         {},
         true,
         false,
         -7,
         {{16, 0}, {28, 0}, {32, 0}, {52, T}, {60, -7}, {72, T}, {76, 0}, {96, 0}, {100, T}}},
        {"delete keeps only hidden files, DOS names and zip time",
         Op::Delete,
         all,
         {},
         false,
         false,
         9,
         {{8, 130}, {16, 0},  {24, 0},  {28, 0},  {32, T},  {36, 0},  {40, 0},
          {44, T},  {48, 0},  {52, 0},  {56, T},  {60, 9},  {64, 0},  {68, 0},
          {72, 0},  {76, 0},  {80, 0},  {84, T},  {88, 0},  {92, T},  {96, 0},
          {100, 0}, {104, 0}, {108, T}, {112, 0}, {116, 0}, {120, 2}, {128, 7}}},
        {"delete without options",
         Op::Delete,
         {},
         {},
         false,
         false,
         9,
         {{32, 0}, {84, 0}, {92, T}, {108, 0}}},
        {"extract with nothing set",
         Op::Extract,
         {},
         {},
         false,
         false,
         0,
         {{8, 130},
          {16, 0},
          {20, 0},
          {28, 0},
          {32, 0},
          {36, 0},
          {40, T},
          {44, 0},
          {48, 0},
          {52, 0},
          {56, 0},
          {60, 0},
          {64, 2},
          {72, 7}}},
        {"extract with every option: update wins over freshen",
         Op::Extract,
         {},
         {E::ExtrDirNames, E::ExtrOverWrite, E::ExtrFreshen, E::ExtrUpdate, E::ExtrTest},
         true,
         false,
         0,
         {{16, 0}, {28, T}, {44, T}, {48, T}, {52, 0}, {56, T}, {60, T}}},
        {"extract with freshen and tracing",
         Op::Extract,
         {},
         {E::ExtrFreshen},
         false,
         true,
         0,
         {{16, T}, {28, 0}, {44, T}, {48, 0}, {52, T}, {56, 0}, {60, 0}}},
    };
}

class CallBlockCases : public ::testing::TestWithParam<Case> {};

TEST_P(CallBlockCases, FieldsHoldTheComponentsOptions) {
    const Case& c = GetParam();
    TempDir dir;
    const std::string archive = dir.Write("a.zip", testzip::Archive({testzip::Stored("x", "1")}));
    FakeLibraries fakes;
    MessageRecorder quiet;
    TZipEngine zip(0x1234);
    zip.SetZipFilename(archive);
    zip.AddOptions = c.add;
    zip.ExtrOptions = c.extr;
    zip.Verbose = c.verbose;
    zip.Trace = c.trace;
    zip.AddCompLevel = c.level;
    zip.SetPassword("secret");
    zip.FSpecArgs = {"first.txt", "dir\\second.txt"};
    const bool extract = c.op == Op::Extract;
    switch (c.op) {
    case Op::Add:
        zip.AddFiles();
        break;
    case Op::Delete:
        zip.DeleteFiles();
        break;
    case Op::Extract:
        zip.ExtractFiles();
        break;
    }
    const FakeLibraryState& seen = extract ? fakes.Unz() : fakes.Zip();
    const BlockLayout& layout = extract ? kUnzLayout : kZipLayout;
    ASSERT_EQ(seen.calls, 1);
    for (const auto& [offset, value] : c.fields) {
        ASSERT_FALSE(layout.IsAddress(offset));
        EXPECT_EQ(layout.Int(seen.block, offset), value) << "offset " << offset;
    }
    EXPECT_EQ(layout.Address(seen.block, 0), 0x1234u) << "the owner's window";
    EXPECT_EQ(layout.Address(seen.block, 4), reinterpret_cast<std::uintptr_t>(&zip));
    EXPECT_EQ(layout.Address(seen.block, 12), reinterpret_cast<std::uintptr_t>(&EngineCallback));
    EXPECT_EQ(std::string(seen.password), "secret");
    EXPECT_EQ(std::string(seen.zipName), archive);
    ASSERT_EQ(seen.specCount, 2);
    EXPECT_EQ(std::string(seen.specs[0]), "first.txt");
    EXPECT_EQ(std::string(seen.specs[1]), "dir\\second.txt");
}

INSTANTIATE_TEST_SUITE_P(Blocks, CallBlockCases, ::testing::ValuesIn(Cases()));

TEST(CallBlock, ExtractionOfEveryEntryPassesNoSpecification) {
    TempDir dir;
    FakeLibraries fakes;
    TZipEngine zip;
    zip.SetZipFilename(dir.Write("a.zip", testzip::Archive({testzip::Stored("x", "1")})));
    zip.ExtractFiles();
    ASSERT_EQ(fakes.Unz().calls, 1);
    EXPECT_EQ(kUnzLayout.Int(fakes.Unz().block, 64), 0);
    EXPECT_EQ(fakes.Unz().specCount, 0);
}

TEST(CallBlock, PasswordIsCutToItsBuffer) {
    TempDir dir;
    FakeLibraries fakes;
    TZipEngine zip;
    zip.SetZipFilename(dir.File("new.zip"));
    const std::string password(300, 'p');
    zip.SetPassword(password);
    EXPECT_EQ(zip.Password(), password.substr(0, 255));
    zip.FSpecArgs = {"f"};
    zip.AddFiles();
    EXPECT_EQ(std::string(fakes.Zip().password), password.substr(0, 80));
}

} // namespace
