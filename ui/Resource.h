#pragma once
// The bytes of a raw data resource (RCDATA) of the program.

#include <cstdint>
#include <span>

namespace ui {

// Empty when the program has no such resource.
std::span<const std::uint8_t> ResourceData(const char* name);

} // namespace ui
