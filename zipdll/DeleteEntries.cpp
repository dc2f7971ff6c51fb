#include <algorithm>

#include "util/Codepage.h"
#include "zipdll/ArchiveUpdate.h"
#include "zipdll/Operations.h"
#include "zipformat/EntryNames.h"
#include "zipformat/EntrySelector.h"

namespace zipdll {

std::int32_t DeleteEntries(const ZipRequest& request, engineapi::EngineReporter& reporter) {
    ArchiveUpdate update(request.archive, reporter);
    if (request.archive.empty()) {
        reporter.Error(kErrBadCall, "No archive named");
        return 0;
    }
    if (!update.Open(false)) {
        return 0;
    }
    const auto& entries = update.Directory().entries;
    zipfmt::EntrySelector selector(entries);
    std::vector<bool> removed(entries.size(), false);
    // Specifications name entries as the program lists them: by their stored bytes.
    for (const std::string& spec : request.rawSpecs) {
        if (!selector.Select(spec, removed)) {
            reporter.Error(kErrNothingMatched, "No entry matches " + util::Cp1252ToUtf8(spec));
        }
    }
    const auto count = static_cast<std::int32_t>(std::count(removed.begin(), removed.end(), true));
    if (count == 0) {
        return 0;
    }
    if (!update.Begin()) {
        return 0;
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string& name = update.NameOf(entries[i]);
        if (removed[i]) {
            reporter.FileStart(name, entries[i].uncompressedSize);
            reporter.Info("deleting: " + name);
            reporter.Progress(100);
        } else if (!update.CopyEntry(entries[i])) {
            return 0;
        }
        if (reporter.Cancelled()) {
            reporter.Error(kErrCancelled, "Cancelled: the archive is unchanged");
            return 0;
        }
    }
    if (!update.Commit()) {
        return 0;
    }
    if (request.zipTime) {
        update.StampNewestTime();
    }
    return count;
}

} // namespace zipdll
