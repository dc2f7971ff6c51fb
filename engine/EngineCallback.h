#pragma once
// The function both engine libraries call back during an operation: it turns each
// record into the engine component's progress or message event.

#include <cstdint>
#include <string>
#include <string_view>

#include "engineapi/CallBlocks.h"

// Answers -1 (stop) when the component asks to cancel or one of its handlers failed,
// else 0. Never lets anything escape into the library.
std::int32_t ENGINE_CALL EngineCallback(CallbackRecord* record);

// A message loses a final line break: CR LF, a lone CR or LF, and also the last
// two characters when the one before the last is a line break.
std::string TrimMessageLineEnd(std::string_view text);
