#pragma once
// DOS date-times (local time) against file times.

#include <cstdint>
#include <windows.h>

#include "platform/FileTime.h"

namespace platform {

std::uint32_t ToDosTime(const FILETIME& utc);
bool FromDosTime(std::uint32_t dosTime, FILETIME& utc);
bool ToFileTime(const ModifiedTime& time, FILETIME& utc);
std::uint64_t TicksOf(const FILETIME& utc);

} // namespace platform
