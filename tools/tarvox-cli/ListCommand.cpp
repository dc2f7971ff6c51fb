#include <cstdio>
#include <exception>

#include "engine/ZipEngine.h"
#include "platform/Console.h"
#include "platform/FileHandle.h"
#include "platform/ProgramPaths.h"
#include "tools/tarvox-cli/CommandLine.h"
#include "util/EntryFormat.h"

namespace {

void PrintEntries(const TZipEngine& zip) {
    std::string line;
    for (const ZipDirEntry& entry : zip.Entries()) {
        line.assign(entry.ShownName);
        line += '\t';
        line += util::FormatIso(util::DosDateTime::FromPacked(entry.ModDateTime));
        line += '\t';
        line += std::to_string(entry.UncompressedSize64);
        line += '\t';
        line += std::to_string(entry.CompressedSize64);
        line += '\t';
        line += util::RatioText(entry.UncompressedSize64, entry.CompressedSize64);
        line += '\n';
        const std::string shown = platform::ConsoleText(line);
        std::fwrite(shown.data(), 1, shown.size(), stdout);
    }
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
    return MessagesShown() == messagesBefore ? kExitDone : kExitFailed;
}
