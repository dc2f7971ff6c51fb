#pragma once
// Extraction and testing: entries written under the current folder, never outside
// it, and kept only once their CRC-32 and size are right. Small files are written on a
// few threads; the caller hears every record from the calling thread, in order.

#include <cstdint>

#include "engineapi/EngineReporter.h"
#include "unzdll/ExtractRequest.h"

namespace unzdll {

// The number of entries extracted, or tested good; 0 when none could be.
std::int32_t ExtractEntries(const ExtractRequest& request, engineapi::EngineReporter& reporter);

} // namespace unzdll
