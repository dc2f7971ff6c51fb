// The two entry points of ZIPDLL.DLL. Nothing thrown inside may cross them.

#include "zipdll/Operations.h"
#include "zipformat/CallBlocks.h"
#include "zipformat/EngineVersion.h"

extern "C" {

ENGINE_EXPORT std::int32_t ENGINE_CALL ZipDllExec(ZipCallBlock* block) {
    if (!block) {
        return 0;
    }
    zipfmt::EngineReporter reporter(block->Callback, block->Caller,
                                    block->Verbose != 0 || block->Trace != 0);
    return zipfmt::RunAtBoundary(reporter, [&] {
        if (!zipfmt::SpecCountFits(block->SpecCount)) {
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
    return zipfmt::kEngineVersion;
}

} // extern "C"
