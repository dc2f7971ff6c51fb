// The two entry points of UNZDLL.DLL. Nothing thrown inside may cross them.

#include "engineapi/CallBlocks.h"
#include "engineapi/EngineReporter.h"
#include "engineapi/EngineVersion.h"
#include "platform/ArchiveLock.h"
#include "unzdll/ExtractEntries.h"
#include "zipformat/AppendJournal.h"

extern "C" {

ENGINE_EXPORT std::int32_t ENGINE_CALL UnzDllExec(UnzCallBlock* block) {
    return engineapi::RunExec(block, [](const UnzCallBlock& b,
                                        engineapi::EngineReporter& reporter) {
        const unzdll::ExtractRequest request = unzdll::ReadExtractRequest(b);
        // A writer of ours at work on the archive finishes first, and none starts while
        // it is read: what is extracted is whole.
        const auto writersAway = platform::ArchiveLock::Acquire(
            request.archive, std::chrono::seconds(30),
            [&] { reporter.Notice("waiting for another program writing " + request.archive); },
            [&] { return reporter.Cancelled(); });
        // An add a dead process left half done is undone before the archive is read.
        if (zipfmt::RecoverArchive(request.archive) == zipfmt::Recovery::Failed) {
            reporter.Error(kErrArchiveOpen, "An interrupted add to " + request.archive +
                                                " cannot be undone now (the archive is in use)");
            return 0;
        }
        return unzdll::ExtractEntries(request, reporter);
    });
}

ENGINE_EXPORT std::int32_t ENGINE_CALL GetUnzDllVersion() {
    return engineapi::kEngineVersion;
}

} // extern "C"
