// The two entry points of UNZDLL.DLL. Nothing thrown inside may cross them.

#include <exception>
#include <new>

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
    std::int32_t count = 0;
    try {
        count = unzdll::ExtractEntries(unzdll::ReadExtractRequest(*block), reporter);
    } catch (const std::bad_alloc&) {
        reporter.Error(kErrInternal, "Out of memory");
    } catch (...) {
        reporter.Error(kErrInternal, "Internal error");
    }
    reporter.BatchEnd();
    return count;
}

ENGINE_EXPORT std::int32_t ENGINE_CALL GetUnzDllVersion() {
    return zipfmt::kEngineVersion;
}

} // extern "C"
