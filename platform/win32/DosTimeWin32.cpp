#include "platform/win32/DosTimeWin32.h"

namespace platform {

std::uint32_t ToDosTime(const FILETIME& utc) {
    FILETIME local{};
    WORD date = 0, time = 0;
    if (!::FileTimeToLocalFileTime(&utc, &local) ||
        !::FileTimeToDosDateTime(&local, &date, &time)) {
        return 1u << 21 | 1u << 16; // 1980-01-01, the earliest a zip entry can hold
    }
    return static_cast<std::uint32_t>(date) << 16 | time;
}

bool FromDosTime(std::uint32_t dosTime, FILETIME& utc) {
    FILETIME local{};
    return ::DosDateTimeToFileTime(static_cast<WORD>(dosTime >> 16),
                                   static_cast<WORD>(dosTime & 0xFFFF), &local) &&
           ::LocalFileTimeToFileTime(&local, &utc);
}

bool ToFileTime(const ModifiedTime& time, FILETIME& utc) {
    if (!time.exact) {
        return FromDosTime(time.dosTime, utc);
    }
    utc.dwLowDateTime = static_cast<DWORD>(*time.exact);
    utc.dwHighDateTime = static_cast<DWORD>(*time.exact >> 32);
    return true;
}

std::uint64_t TicksOf(const FILETIME& utc) {
    return static_cast<std::uint64_t>(utc.dwHighDateTime) << 32 | utc.dwLowDateTime;
}

} // namespace platform
