// The two entry points of UNZDLL.DLL. Nothing thrown inside may cross them.

#include "unzdll/ExtractEntries.h"
#include "zipformat/CallBlocks.h"
#include "zipformat/EngineVersion.h"

extern "C" {

ENGINE_EXPORT std::int32_t ENGINE_CALL UnzDllExec(UnzCallBlock* block) {
    if (!block) {
        return 0;
    }
    zipfmt::EngineReporter reporter(block->Callback, block->Caller,
                                    block->Verbose != 0 || block->Trace != 0);
    return zipfmt::RunAtBoundary(reporter, [&] {
        return unzdll::ExtractEntries(unzdll::ReadExtractRequest(*block), reporter);
    });
}

ENGINE_EXPORT std::int32_t ENGINE_CALL GetUnzDllVersion() {
    return zipfmt::kEngineVersion;
}

} // extern "C"
