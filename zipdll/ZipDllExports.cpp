// The two entry points of ZIPDLL.DLL. Nothing thrown inside may cross them.

#include "engineapi/CallBlocks.h"
#include "engineapi/EngineVersion.h"
#include "zipdll/Operations.h"

extern "C" {

ENGINE_EXPORT std::int32_t ENGINE_CALL ZipDllExec(ZipCallBlock* block) {
    if (!block) {
        return 0;
    }
    engineapi::EngineReporter reporter(block->Callback, block->Caller,
                                       block->Verbose != 0 || block->Trace != 0);
    return engineapi::RunAtBoundary(reporter, [&] {
        if (!engineapi::SpecCountFits(block->SpecCount)) {
            reporter.Error(kErrBadCall, "The call block's count of names is out of range: " +
                                            std::to_string(block->SpecCount));
            return 0;
        }
        const zipdll::ZipRequest request = zipdll::ReadZipRequest(*block);
        return request.remove ? zipdll::DeleteEntries(request, reporter)
                              : zipdll::AddFiles(request, reporter);
    });
}

ENGINE_EXPORT std::int32_t ENGINE_CALL GetZipDllVersion() {
    return engineapi::kEngineVersion;
}

} // extern "C"
