#pragma once
// DOS date-times (local time) against the system's seconds.

#include <cstdint>
#include <ctime>

#include "platform/FileTime.h"

namespace platform {

std::uint32_t ToDosTime(std::time_t seconds);
std::time_t FromDosTime(std::uint32_t dosTime);
timespec ToTimespec(const ModifiedTime& time);
// Nothing before 1601 is told apart: 0, as unknown.
std::uint64_t TicksOf(const timespec& time);

} // namespace platform
