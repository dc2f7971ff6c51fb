// The two entry points of ZIPDLL.DLL. Nothing thrown inside may cross them.

#include <exception>

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
    std::int32_t count = 0;
    try {
        const zipdll::AddRequest request = zipdll::ReadAddRequest(*block);
        count = request.remove ? zipdll::DeleteEntries(request, reporter)
                               : zipdll::AddFiles(request, reporter);
    } catch (const std::bad_alloc&) {
        reporter.Error(kErrInternal, "Out of memory: the archive is unchanged");
        count = 0;
    } catch (...) {
        reporter.Error(kErrInternal, "Internal error: the archive is unchanged");
        count = 0;
    }
    reporter.BatchEnd();
    return count;
}

ENGINE_EXPORT std::int32_t ENGINE_CALL GetZipDllVersion() {
    return zipfmt::kEngineVersion;
}

} // extern "C"
