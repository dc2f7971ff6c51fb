#pragma once
// DOS date-times (local time) against the system's seconds.

#include <cstdint>
#include <ctime>

namespace platform {

std::uint32_t ToDosTime(std::time_t seconds);
std::time_t FromDosTime(std::uint32_t dosTime);

} // namespace platform
