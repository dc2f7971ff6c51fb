#include <charconv>
#include <cstdio>
#include <exception>

#include "engine/ZipEngine.h"
#include "platform/Console.h"
#include "platform/FileHandle.h"
#include "platform/ProgramPaths.h"
#include "tools/tarvox-cli/CommandLine.h"
#include "util/EntryFormat.h"

namespace {

void AppendNumber(std::string& out, std::uint64_t value) {
    char text[24];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    out.append(text, end);
}

void Write(const std::string& text) {
    const std::string shown = platform::ConsoleText(text);
    std::fwrite(shown.data(), 1, shown.size(), stdout);
}

// Lines are made in a block of many and written together: a listing of a hundred
// thousand entries is mostly formatting.
void PrintEntries(const TZipEngine& zip) {
    constexpr std::size_t kBlock = 1 << 16;
    std::string block;
    block.reserve(kBlock + 1024);
    for (const ZipDirEntry& entry : zip.Entries()) {
        block += entry.ShownName();
        block += '\t';
        util::AppendIso(block, util::DosDateTime::FromPacked(entry.ModDateTime));
        block += '\t';
        AppendNumber(block, entry.UncompressedSize64);
        block += '\t';
        AppendNumber(block, entry.CompressedSize64);
        block += '\t';
        block += util::RatioText(entry.UncompressedSize64, entry.CompressedSize64);
        block += '\n';
        if (block.size() >= kBlock) {
            Write(block);
            block.clear();
        }
    }
    Write(block);
    std::fflush(stdout);
}

} // namespace

// One line per entry, in archive order: name, date-time, size, stored size, ratio.
int RunList(const CommandLine& line) {
    const std::string& archive = line.operands[0];
    const auto codePage = NamesCodePage(line);
    if (!codePage) {
        return Usage(*line.command);
    }
    const std::string path = platform::ProgramPath(archive);
    if (!platform::FileExists(path)) {
        platform::WriteErrorLine("tarvox-cli: no such archive: " + archive);
        return kExitUsage;
    }
    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    TZipEngine zip;
    zip.NamesCodePage = *codePage;
    // One part of a split archive is said with a code.
    bool refused = false;
    zip.OnMessage = [&refused](TZipEngine&, std::int32_t code, const std::string& text) {
        refused = refused || code != 0;
        platform::WriteErrorLine(text);
    };
    const int messagesBefore = MessagesShown();
    try {
        zip.SetZipFilename(path);
    } catch (const std::exception& error) {
        PrintEntries(zip);
        platform::WriteErrorLine(error.what());
        return kExitFailed;
    }
    PrintEntries(zip);
    // A file with no entry at all is said in a message.
    return MessagesShown() == messagesBefore && !refused ? kExitDone : kExitFailed;
}
