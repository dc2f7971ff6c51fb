// The two entry points of ZIPDLL.DLL. Nothing thrown inside may cross them.

#include "engineapi/CallBlocks.h"
#include "engineapi/EngineReporter.h"
#include "engineapi/EngineVersion.h"
#include "zipdll/Operations.h"

extern "C" {

ENGINE_EXPORT std::int32_t ENGINE_CALL ZipDllExec(ZipCallBlock* block) {
    return engineapi::RunExec(block,
                              [](const ZipCallBlock& b, engineapi::EngineReporter& reporter) {
                                  const zipdll::ZipRequest request = zipdll::ReadZipRequest(b);
                                  return request.remove ? zipdll::DeleteEntries(request, reporter)
                                                        : zipdll::AddFiles(request, reporter);
                              });
}

ENGINE_EXPORT std::int32_t ENGINE_CALL GetZipDllVersion() {
    return engineapi::kEngineVersion;
}

} // extern "C"
