#pragma once
// FILETIME: 100-nanosecond ticks since 1601-01-01 UTC, split in two 32-bit
// halves, the time format of listing entries and file descriptors.

#include <cstdint>

namespace platform {

struct FILETIME {
    std::uint32_t dwLowDateTime = 0;
    std::uint32_t dwHighDateTime = 0;
    bool operator==(const FILETIME&) const = default;
};

// Seconds between 1601-01-01 and 1970-01-01.
inline constexpr std::int64_t FileTimeEpochOffset = 11644473600LL;

std::uint64_t FileTimeTicks(const FILETIME& time);
FILETIME FileTimeFromTicks(std::uint64_t ticks);
// The instant given in seconds (and nanoseconds) since 1970 UTC; instants
// before 1601 give a zero FILETIME.
FILETIME FileTimeFromUnix(std::int64_t seconds, std::int64_t nanoseconds = 0);
// Whole seconds since 1970 UTC (rounded down).
std::int64_t UnixFromFileTime(const FILETIME& time);

} // namespace platform
