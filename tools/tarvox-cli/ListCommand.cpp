#include <cstdio>
#include <exception>

#include "engine/ZipEngine.h"
#include "platform/Console.h"
#include "platform/FileHandle.h"
#include "tools/tarvox-cli/Commands.h"
#include "util/EntryFormat.h"

namespace {

void PrintEntries(const TZipEngine& zip) {
    std::string line;
    for (const ZipDirEntry& entry : zip.Entries()) {
        line.assign(entry.FileName);
        line += '\t';
        line += util::FormatIso(util::DosDateTime::FromPacked(entry.ModDateTime));
        line += '\t';
        line += std::to_string(entry.UncompressedSize64);
        line += '\t';
        line += std::to_string(entry.CompressedSize64);
        line += '\t';
        line += util::RatioText(entry.UncompressedSize64, entry.CompressedSize64);
        line += '\n';
        std::fwrite(line.data(), 1, line.size(), stdout);
    }
    std::fflush(stdout);
}

} // namespace

// One line per entry, in archive order: name, date-time, size, stored size, ratio.
int RunList(const Arguments& args) {
    if (args.size() != 1) {
        std::fputs("usage: tarvox-cli list ARCHIVE\n", stderr);
        return kExitUsage;
    }
    const std::string& archive = args[0];
    if (!platform::FileExists(archive)) {
        platform::WriteErrorLine("tarvox-cli: no such archive: " + archive);
        return kExitUsage;
    }
    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    TZipEngine zip;
    try {
        zip.SetZipFilename(archive);
    } catch (const std::exception& error) {
        PrintEntries(zip);
        platform::WriteErrorLine(error.what());
        return kExitFailed;
    }
    PrintEntries(zip);
    return kExitDone;
}
