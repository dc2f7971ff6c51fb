#pragma once
// DOS date-times (local time) against file times.

#include <cstdint>
#include <windows.h>

namespace platform {

std::uint32_t ToDosTime(const FILETIME& utc);
bool FromDosTime(std::uint32_t dosTime, FILETIME& utc);

} // namespace platform
