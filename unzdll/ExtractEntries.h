#pragma once
// Extraction and testing: entries written under the current folder, never outside
// it, each through a temporary file that takes its name only once its CRC-32 and
// size are right.

#include <cstdint>

#include "unzdll/ExtractRequest.h"
#include "zipformat/EngineReporter.h"

namespace unzdll {

// The number of entries extracted, or tested good; 0 when none could be.
std::int32_t ExtractEntries(const ExtractRequest& request, zipfmt::EngineReporter& reporter);

} // namespace unzdll
