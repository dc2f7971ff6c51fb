#pragma once
// The two things ZIPDLL.DLL does. Each returns its count: files added or replaced,
// entries removed; 0 when the archive was left as it was.

#include <cstdint>

#include "engineapi/EngineReporter.h"
#include "zipdll/ZipRequest.h"

namespace zipdll {

std::int32_t AddFiles(const ZipRequest& request, engineapi::EngineReporter& reporter);
std::int32_t DeleteEntries(const ZipRequest& request, engineapi::EngineReporter& reporter);

} // namespace zipdll
