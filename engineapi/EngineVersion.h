#pragma once
// What both engine libraries answer to their version entry points, and how their
// entry points are exported.

#include <cstdint>

namespace engineapi {

// Major * 100 + minor.
inline constexpr std::int32_t kEngineVersion = 410;

} // namespace engineapi

#if defined(_WIN32)
#define ENGINE_EXPORT // the .def file names the exports
#else
#define ENGINE_EXPORT __attribute__((visibility("default")))
#endif
