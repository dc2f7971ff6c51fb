// Add, delete and extract through fake libraries: checks and their messages, busy
// marks, clean-up, the re-read rules, the callback's events and every way a library
// call can fail.

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "engine/EngineCallback.h"
#include "engine/EngineLibraries.h"
#include "engine/ZipEngine.h"
#include "platform/FileHandle.h"
#include "platform/ProgramPaths.h"
#include "tests/engine/FakeLibraries.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/TempDir.h"
#include "tests/support/ZipBytes.h"

namespace {

enum class Op { Add, Delete, Extract };

void RunOp(TZipEngine& zip, Op op) {
    switch (op) {
    case Op::Add:
        return zip.AddFiles();
    case Op::Delete:
        return zip.DeleteFiles();
    case Op::Extract:
        return zip.ExtractFiles();
    }
}

const char* Name(Op op) {
    return op == Op::Add ? "add" : op == Op::Delete ? "delete" : "extract";
}

class Operations : public ::testing::Test {
protected:
    void SetUp() override {
        archive = dir.Write("a.zip", testzip::Archive({testzip::Stored("x", "1")}));
        zip.OnDirUpdate = [this](TZipEngine&) { ++updates; };
        zip.OnOperationEnd = [this](TZipEngine&, EngineOperation op, std::int32_t count,
                                    bool cancelled) {
            ends.push_back({static_cast<int>(op), count, cancelled, updates});
        };
    }

    // What each OnOperationEnd said, and how many re-reads had come before it.
    struct End {
        int op;
        std::int32_t count;
        bool cancelled;
        int updatesBefore;
        bool operator==(const End&) const = default;
    };

    FakeLibraryState& Seen(Op op) { return op == Op::Extract ? fakes.Unz() : fakes.Zip(); }

    TempDir dir;
    std::string archive;
    FakeLibraries fakes;
    TZipEngine zip;
    int updates = 0;
    std::vector<End> ends;
};

TEST_F(Operations, ChecksComeInOrderAndOnlyTheFirstFailureIsShown) {
    struct Case {
        Op op;
        bool specs;
        const char* name; // "" empty, "missing", "archive"
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {Op::Add, false, "", {"Error - no files to zip"}},
        {Op::Add, true, "", {"Error - no zip file specified"}},
        {Op::Delete, false, "missing", {"Error - no files selected for deletion"}},
        {Op::Delete, true, "missing", {"Error - no zip file specified"}},
        {Op::Delete, true, "", {"Error - no zip file specified"}},
        {Op::Extract, false, "missing", {"Error - no zip file specified"}},
        {Op::Extract, true, "", {"Error - no zip file specified"}},
    };
    for (const Case& c : cases) {
        const std::string name = std::string(c.name) == "missing"   ? dir.File("new.zip")
                                 : std::string(c.name) == "archive" ? archive
                                                                    : std::string();
        zip.SetZipFilename(name);
        zip.FSpecArgs = c.specs ? std::vector<std::string>{"f"} : std::vector<std::string>{};
        MessageRecorder messages;
        RunOp(zip, c.op);
        EXPECT_EQ(messages.Texts(), c.messages) << Name(c.op) << " " << c.name;
        // Nothing of a refused request survives into the next one.
        EXPECT_TRUE(zip.FSpecArgs.empty()) << Name(c.op) << " " << c.name;
        EXPECT_EQ(zip.ResultCount(), 0) << Name(c.op) << " " << c.name;
        EXPECT_TRUE(fakes.loads.empty());
        EXPECT_TRUE(ends.empty()) << "a refused request ends no operation";
    }
}

TEST_F(Operations, AddToANewArchiveGoesAheadAndReadsWhatTheLibraryMade) {
    const std::string fresh = dir.File("fresh.zip");
    zip.SetZipFilename(fresh);
    updates = 0;
    fakes.Zip().result = 1;
    zip.FSpecArgs = {"file.txt"};
    // The fake writes nothing; give the re-read something to find.
    dir.Write("fresh.zip", testzip::Archive({testzip::Stored("file.txt", "abc")}));
    zip.AddFiles();
    EXPECT_EQ(fakes.Zip().calls, 1);
    EXPECT_EQ(zip.ResultCount(), 1);
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(zip.EntryCount(), 1);
}

TEST_F(Operations, ReadsTheDirectoryAgainOnlyAfterAPositiveAddOrDelete) {
    struct Case {
        Op op;
        std::int32_t result;
        int updates;
    };
    const Case cases[] = {{Op::Add, 3, 1},    {Op::Add, 0, 0},    {Op::Add, -2, 0},
                          {Op::Delete, 1, 1}, {Op::Delete, 0, 0}, {Op::Extract, 5, 0},
                          {Op::Extract, 0, 0}};
    for (const Case& c : cases) {
        zip.SetZipFilename(archive);
        updates = 0;
        ends.clear();
        Seen(c.op).result = c.result;
        zip.FSpecArgs = {"x"};
        RunOp(zip, c.op);
        EXPECT_EQ(zip.ResultCount(), c.result) << Name(c.op);
        EXPECT_EQ(updates, c.updates) << Name(c.op) << " " << c.result;
        // Told once, after the re-read, with the count the caller reads.
        EXPECT_EQ(ends, (std::vector<End>{{static_cast<int>(c.op), c.result, false, c.updates}}))
            << Name(c.op) << " " << c.result;
        EXPECT_TRUE(zip.FSpecArgs.empty());
        EXPECT_FALSE(zip.ZipBusy() || zip.UnzBusy());
        EXPECT_EQ(ZipEngineLibrary().handle, 0u) << "released by the operation that loaded it";
        EXPECT_EQ(UnzEngineLibrary().handle, 0u);
    }
}

TEST_F(Operations, EachOperationLoadsItsLibraryOnceAndReleasesIt) {
    zip.SetZipFilename(archive);
    for (const Op op : {Op::Add, Op::Delete, Op::Extract}) {
        zip.FSpecArgs = {"x"};
        RunOp(zip, op);
    }
    EXPECT_EQ(fakes.loads, (std::vector<std::string>{"ZIPDLL.DLL", "ZIPDLL.DLL", "UNZDLL.DLL"}));
    EXPECT_EQ(fakes.releases, 3);
}

TEST_F(Operations, MissingLibraryEmptiesTheSpecificationsAndTheCount) {
    fakes.Use("");
    zip.SetZipFilename(archive);
    MessageRecorder messages;
    for (const Op op : {Op::Add, Op::Delete}) {
        fakes.Use("full");
        fakes.Zip().result = 3;
        zip.FSpecArgs = {"earlier"};
        RunOp(zip, op);
        ASSERT_EQ(zip.ResultCount(), 3);
        fakes.Use("");
        zip.FSpecArgs = {"one", "two"};
        RunOp(zip, op);
        EXPECT_TRUE(zip.FSpecArgs.empty()) << Name(op);
        EXPECT_EQ(zip.ResultCount(), 0) << Name(op);
    }
    EXPECT_EQ(messages.Texts(),
              (std::vector<std::string>{"ZIPDLL.DLL not found", "ZIPDLL.DLL not found"}));
    EXPECT_FALSE(zip.ZipBusy());
    EXPECT_EQ(fakes.errorModes, (std::vector<unsigned>{3, 0, 3, 0, 3, 0, 3, 0}));
}

TEST_F(Operations, EveryFailedCallSaysFatalDllErrorAndCleansUp) {
    enum class Failure { NoEntryPoint, HandlerThrows, LibraryFaults, LibraryFaultsInCallback };
    for (const Op op : {Op::Add, Op::Extract}) {
        for (const Failure failure : {Failure::NoEntryPoint, Failure::HandlerThrows,
                                      Failure::LibraryFaults, Failure::LibraryFaultsInCallback}) {
            zip.SetZipFilename(archive);
            // An earlier operation's count, kept by the failed call.
            Seen(op).result = 4;
            zip.FSpecArgs = {"x"};
            RunOp(zip, op);
            ASSERT_EQ(zip.ResultCount(), 4);
            updates = 0;
            fakes.Use(failure == Failure::NoEntryPoint ? "noexec" : "full");
            Seen(op).result = 9;
            Script(Seen(op), {Record(2, 0, 0, ""), Record(2, 0, 0, "")});
            Seen(op).faultBefore = failure == Failure::LibraryFaults             ? 0
                                   : failure == Failure::LibraryFaultsInCallback ? 1
                                                                                 : kFakeNoFault;
            zip.OnProgress = [&](TZipEngine&, ProgressType, const std::string&, std::int32_t) {
                if (failure == Failure::HandlerThrows) {
                    throw std::runtime_error("handler failed");
                }
            };
            zip.FSpecArgs = {"x"};
            MessageRecorder messages;
            RunOp(zip, op);
            const std::string exec = op == Op::Extract
                                         ? "UnzDllExec function not found in UNZDLL.DLL"
                                         : "ZipDllExec function not found in ZIPDLL.DLL";
            std::vector<std::string> expected{"Fatal DLL Error: abort exception"};
            if (failure == Failure::NoEntryPoint) {
                expected.insert(expected.begin(), exec);
            }
            const auto why =
                std::string(Name(op)) + " " + std::to_string(static_cast<int>(failure));
            EXPECT_EQ(messages.Texts(), expected) << why;
            EXPECT_TRUE(zip.FSpecArgs.empty()) << why;
            EXPECT_FALSE(zip.ZipBusy() || zip.UnzBusy()) << why;
            // The earlier operation's count is never taken for this one's.
            EXPECT_EQ(zip.ResultCount(), 0) << why;
            EXPECT_FALSE(zip.CancelRequested) << why;
            EXPECT_EQ(ZipEngineLibrary().handle + UnzEngineLibrary().handle, 0u) << why;
            EXPECT_EQ(updates, 0) << why;
            if (failure == Failure::HandlerThrows) {
                EXPECT_EQ(Seen(op).answerCount, 1) << "the callback asked the library to stop";
                EXPECT_EQ(Seen(op).answers[0], -1);
            }
            // A new operation can start at once.
            fakes.Use("full");
            zip.OnProgress = nullptr;
            Seen(op).faultBefore = kFakeNoFault;
            Seen(op).result = 2;
            zip.FSpecArgs = {"again"};
            MessageRecorder none;
            RunOp(zip, op);
            EXPECT_EQ(zip.ResultCount(), 2) << why;
            EXPECT_TRUE(none.Texts().empty()) << why;
        }
    }
}

TEST_F(Operations, CallbackRecordsBecomeEvents) {
    zip.SetZipFilename(archive);
    std::vector<std::string> events;
    zip.OnProgress = [&](TZipEngine& sender, ProgressType type, const std::string& name,
                         std::int32_t size) {
        EXPECT_EQ(&sender, &zip);
        events.push_back("progress " + std::to_string(static_cast<int>(type)) + " [" + name + "] " +
                         std::to_string(size) + " @" + std::to_string(sender.FilePercent()));
    };
    zip.OnMessage = [&](TZipEngine&, std::int32_t code, const std::string& text) {
        events.push_back("message " + std::to_string(code) + " [" + text + "]");
    };
    // A step's size is the percentage of the file done, kept for the handlers to read.
    Script(fakes.Zip(), {
                            Record(1, 0, 1234, "dir\\file.txt"),
                            Record(2, 7, 99, "ignored"),
                            Record(3, 0, 5, "ignored"),
                            Record(2, 0, 250, ""),
                            Record(1, 0, 8, "next"),
                            Record(7, 5, 0, "abc\r\n"),
                            Record(4, 0, 0, "abc\nd"),
                            Record(4, 2, 0, "ab\r"),
                            Record(4, 3, 0, ""),
                            Record(0, 1, 0, "nothing"),
                            Record(-1, 1, 0, "nothing"),
                        });
    zip.FSpecArgs = {"x"};
    zip.AddFiles();
    EXPECT_EQ(events, (std::vector<std::string>{
                          "progress 0 [dir\\file.txt] 1234 @0",
                          "progress 1 [ ] 0 @99",
                          "progress 2 [ ] 0 @99",
                          "progress 1 [ ] 0 @100",
                          "progress 0 [next] 8 @0",
                          "message 5 [abc]",
                          "message 0 [abc]",
                          "message 2 [ab]",
                          "message 3 []",
                      }));
    EXPECT_EQ(fakes.Zip().answerCount, 11);
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(fakes.Zip().answers[i], 0);
    }
    // Each operation starts at 0, whatever the last one ended with.
    Script(fakes.Zip(), {Record(2, 0, 60, ""), Record(3, 0, 0, "")});
    zip.FSpecArgs = {"x"};
    zip.AddFiles();
    zip.OnProgress = nullptr;
    Script(fakes.Unz(), {Record(4, 0, 0, "first")});
    zip.OnMessage = [&](TZipEngine& sender, std::int32_t, const std::string&) {
        events.push_back("percent at the start " + std::to_string(sender.FilePercent()));
    };
    zip.ExtractFiles();
    EXPECT_EQ(events.back(), "percent at the start 0");
}

TEST_F(Operations, AfterAHandlerFailsTheRestOfTheCallReachesNoHandler) {
    zip.SetZipFilename(archive);
    std::vector<std::string> events;
    zip.OnProgress = [&](TZipEngine&, ProgressType type, const std::string&, std::int32_t) {
        events.push_back("progress " + std::to_string(static_cast<int>(type)));
        throw std::runtime_error("handler failed");
    };
    zip.OnMessage = [&](TZipEngine&, std::int32_t code, const std::string&) {
        events.push_back("message " + std::to_string(code));
    };
    // A library that goes on after it was told to stop, as the real ones do to report it.
    fakes.Zip().playPastStop = 1;
    Script(fakes.Zip(), {Record(1, 0, 5, "f"), Record(2, 0, 50, ""), Record(4, 12, 0, "Cancelled"),
                         Record(3, 0, 0, "")});
    zip.FSpecArgs = {"x"};
    MessageRecorder messages;
    zip.AddFiles();
    EXPECT_EQ(events, std::vector<std::string>{"progress 0"});
    ASSERT_EQ(fakes.Zip().answerCount, 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(fakes.Zip().answers[i], -1) << i;
    }
    EXPECT_EQ(zip.FilePercent(), 0) << "an unheard step is not kept either";
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Fatal DLL Error: abort exception"});
}

TEST_F(Operations, AnExceptionOutOfAnOperationStillReleasesItsBusyMarkAndLibrary) {
    // The message seam raises, both inside the library's load (a missing entry point)
    // and after a failed call.
    const auto previous = platform::SetMessageBoxHandler(
        [](const platform::MessageBoxRequest&) -> int { throw std::runtime_error("no box"); });
    for (const Op op : {Op::Add, Op::Delete, Op::Extract}) {
        for (const char* variant : {"noexec", "full"}) {
            zip.SetZipFilename(archive);
            fakes.Use(variant);
            Script(Seen(op), {Record(2, 0, 0, "")});
            zip.OnProgress = [](TZipEngine&, ProgressType, const std::string&, std::int32_t) {
                throw std::runtime_error("handler failed");
            };
            zip.FSpecArgs = {"x"};
            EXPECT_THROW(RunOp(zip, op), std::runtime_error) << Name(op) << " " << variant;
            EXPECT_FALSE(zip.ZipBusy() || zip.UnzBusy()) << Name(op) << " " << variant;
            EXPECT_EQ(ZipEngineLibrary().handle + UnzEngineLibrary().handle, 0u) << Name(op);
        }
    }
    platform::SetMessageBoxHandler(previous);
    fakes.Use("full");
    zip.OnProgress = nullptr;
    fakes.Zip().result = 2;
    zip.FSpecArgs = {"again"};
    zip.AddFiles();
    EXPECT_EQ(zip.ResultCount(), 2);
}

TEST_F(Operations, UnassignedEventsAreSkipped) {
    zip.SetZipFilename(archive);
    Script(fakes.Zip(), {Record(1, 0, 1, "f"), Record(2, 0, 0, ""), Record(4, 9, 0, "m")});
    zip.FSpecArgs = {"x"};
    zip.AddFiles();
    EXPECT_EQ(fakes.Zip().answerCount, 3);
}

TEST_F(Operations, CancelRequestedMakesTheSameCallbackAnswerStop) {
    zip.SetZipFilename(archive);
    int steps = 0;
    zip.OnProgress = [&](TZipEngine& sender, ProgressType type, const std::string&, std::int32_t) {
        if (type == ProgressType::ProgrStep && ++steps == 2) {
            sender.CancelRequested = true;
        }
    };
    Script(fakes.Zip(), {Record(2, 0, 0, ""), Record(2, 0, 0, ""), Record(2, 0, 0, "")});
    zip.CancelRequested = true; // cleared when the operation starts
    zip.FSpecArgs = {"x"};
    zip.AddFiles();
    ASSERT_EQ(fakes.Zip().answerCount, 2);
    EXPECT_EQ(fakes.Zip().answers[0], 0);
    EXPECT_EQ(fakes.Zip().answers[1], -1);
    EXPECT_FALSE(zip.CancelRequested);
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_TRUE(ends[0].cancelled);
}

TEST_F(Operations, ASecondRequestOfTheSameKindIsIgnoredButAnExtractionMayRun) {
    zip.SetZipFilename(archive);
    std::vector<std::string> seen;
    zip.OnProgress = [&](TZipEngine& sender, ProgressType type, const std::string&, std::int32_t) {
        if (type != ProgressType::ProgrStep || !seen.empty()) {
            return;
        }
        seen.push_back(sender.ZipBusy() ? "zip busy" : "zip idle");
        sender.FSpecArgs = {"inner"};
        sender.AddFiles();
        seen.push_back("add returned, specs " + std::to_string(sender.FSpecArgs.size()));
        sender.FSpecArgs = {"inner"};
        sender.ExtractFiles();
        seen.push_back("extract returned, specs " + std::to_string(sender.FSpecArgs.size()));
    };
    Script(fakes.Zip(), {Record(2, 0, 0, "")});
    fakes.Zip().result = 0;
    zip.FSpecArgs = {"outer"};
    MessageRecorder messages;
    zip.AddFiles();
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(seen, (std::vector<std::string>{"zip busy", "add returned, specs 0",
                                              "extract returned, specs 0"}));
    EXPECT_EQ(fakes.Zip().calls, 1);
    EXPECT_EQ(fakes.Unz().calls, 1);
    EXPECT_EQ(std::string(fakes.Unz().specs[0]), "inner");
    // The extraction found the compression library loaded by the add and left it so.
    EXPECT_EQ(fakes.loads, (std::vector<std::string>{"ZIPDLL.DLL", "UNZDLL.DLL"}));
}

TEST_F(Operations, ExtractionFolderBecomesCurrentOnlyWhenItExists) {
    const std::string before = platform::CurrentDirectory();
    zip.SetZipFilename(archive);
    zip.ExtrBaseDir = dir.File("no such folder");
    zip.ExtractFiles();
    EXPECT_EQ(platform::CurrentDirectory(), before);
    std::filesystem::create_directory(dir.File("out"));
    zip.ExtrBaseDir = dir.File("out");
    zip.ExtractFiles();
    EXPECT_TRUE(std::filesystem::equivalent(platform::CurrentDirectory(), dir.File("out")));
    zip.ExtrBaseDir.clear();
    zip.ExtractFiles();
    EXPECT_TRUE(std::filesystem::equivalent(platform::CurrentDirectory(), dir.File("out")))
        << "never restored";
    platform::ChangeCurrentDirectory(before);
}

TEST_F(Operations, ManySpecificationsGoInSeveralCallsButADeleteInOnePacked) {
    zip.SetZipFilename(archive);
    const std::size_t total = kMaxFileSpecs * 2 + 3;
    std::vector<std::string> names;
    for (std::size_t i = 0; i < total; ++i) {
        names.push_back(std::to_string(i) + ".txt");
    }
    fakes.Unz().result = 10;
    zip.FSpecArgs = names;
    zip.ExtractFiles();
    ASSERT_EQ(fakes.Unz().calls, 3);
    EXPECT_EQ(fakes.Unz().specCountsPerCall[0], static_cast<std::int32_t>(kMaxFileSpecs));
    EXPECT_EQ(fakes.Unz().specCountsPerCall[1], static_cast<std::int32_t>(kMaxFileSpecs));
    EXPECT_EQ(fakes.Unz().specCountsPerCall[2], 3);
    EXPECT_EQ(std::string(fakes.Unz().specs[0]), std::to_string(2 * kMaxFileSpecs) + ".txt");
    EXPECT_EQ(zip.ResultCount(), 30);
    EXPECT_EQ(fakes.loads.size(), 1u) << "one load for all the calls";
    // A delete rewrites the archive once a call: every name goes in one, packed.
    fakes.Zip().result = 7;
    zip.FSpecArgs = names;
    zip.DeleteFiles();
    ASSERT_EQ(fakes.Zip().calls, 1);
    EXPECT_EQ(fakes.Zip().specCountsPerCall[0], 1);
    EXPECT_EQ(zip.ResultCount(), 7);
}

TEST_F(Operations, NamesLongerThanTheirBuffersAreRefusedNotCut) {
    zip.SetZipFilename(archive);
    const std::string longName(256, 'n');
    zip.FSpecArgs = {"short", longName};
    MessageRecorder messages;
    zip.AddFiles();
    EXPECT_EQ(messages.Texts(),
              std::vector<std::string>{"Error - file name too long: " + longName});
    EXPECT_TRUE(zip.FSpecArgs.empty()) << "the refused names never reach a later add";
    EXPECT_TRUE(fakes.loads.empty());
    zip.FSpecArgs = {std::string(255, 'n')};
    zip.AddFiles();
    EXPECT_EQ(fakes.Zip().calls, 1) << "255 characters and the terminator fit";
}

TEST(MessageLineEnd, LosesAFinalLineBreak) {
    const std::pair<const char*, const char*> cases[] = {
        {"abc\r\n", "abc"}, {"abc\n", "abc"}, {"abc\r", "abc"}, {"abc\nd", "abc"},
        {"abc\rd", "abc"},  {"abc", "abc"},   {"", ""},         {"\n", ""},
        {"\r\n", ""},       {"a\n\n", "a"},   {"ab\n\r", "ab"}, {"a\nbc", "a\nbc"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(TrimMessageLineEnd(text), expected) << text;
    }
}

TEST(EngineCallbackFunction, IgnoresARecordWithoutCaller) {
    CallbackRecord record{};
    record.ActionCode = 2;
    EXPECT_EQ(EngineCallback(&record), 0);
    EXPECT_EQ(EngineCallback(nullptr), 0);
}

} // namespace
