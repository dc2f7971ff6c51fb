#pragma once
// The bilingual text table: English captions and the four messages the main window
// shows in both languages, addressed by index. Windows-1252 bytes.

#include <array>

namespace resources {

inline constexpr int kTextCount = 71;

// Pairs of messages: the Spanish text at the even index, the English one after it.
inline constexpr int kTextOperationRefused = 52;
inline constexpr int kTextNoAssociation = 54;
inline constexpr int kTextReady = 56;
inline constexpr int kTextBusy = 58;

extern const std::array<const char*, kTextCount> kTextTable;

} // namespace resources
