// The two entry points of UNZDLL.DLL. Nothing thrown inside may cross them.

#include "engineapi/CallBlocks.h"
#include "engineapi/EngineReporter.h"
#include "engineapi/EngineVersion.h"
#include "unzdll/ExtractEntries.h"
#include "zipformat/AppendJournal.h"

extern "C" {

ENGINE_EXPORT std::int32_t ENGINE_CALL UnzDllExec(UnzCallBlock* block) {
    return engineapi::RunExec(
        block, [](const UnzCallBlock& b, engineapi::EngineReporter& reporter) {
            const unzdll::ExtractRequest request = unzdll::ReadExtractRequest(b);
            // What is read is whole: a writer's replace or growth in place ends first, an
            // add a dead process left half done is undone, and no replace starts meanwhile.
            zipfmt::Recovery recovery = zipfmt::Recovery::Nothing;
            const auto held = zipfmt::HoldForReading(
                request.archive,
                {std::chrono::seconds(30),
                 [&] { reporter.Notice("waiting for another program writing " + request.archive); },
                 [&] { return reporter.Cancelled(); }},
                recovery);
            if (!held) {
                reporter.Error(kErrArchiveOpen,
                               recovery == zipfmt::Recovery::Failed
                                   ? "An interrupted add to " + request.archive +
                                         " cannot be undone now (the archive is in use)"
                                   : "Another program kept writing " + request.archive);
                return 0;
            }
            return unzdll::ExtractEntries(request, reporter);
        });
}

ENGINE_EXPORT std::int32_t ENGINE_CALL GetUnzDllVersion() {
    return engineapi::kEngineVersion;
}

} // extern "C"
