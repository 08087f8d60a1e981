#include "platform/FileTime.h"

namespace platform {

std::uint64_t FileTimeTicks(const FILETIME& time) {
    return static_cast<std::uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

FILETIME FileTimeFromTicks(std::uint64_t ticks) {
    return {static_cast<std::uint32_t>(ticks), static_cast<std::uint32_t>(ticks >> 32)};
}

FILETIME FileTimeFromUnix(std::int64_t seconds, std::int64_t nanoseconds) {
    std::int64_t since1601 = seconds + FileTimeEpochOffset;
    if (since1601 < 0) {
        return {};
    }
    return FileTimeFromTicks(static_cast<std::uint64_t>(since1601) * 10000000u +
                             static_cast<std::uint64_t>(nanoseconds / 100));
}

std::int64_t UnixFromFileTime(const FILETIME& time) {
    return static_cast<std::int64_t>(FileTimeTicks(time) / 10000000u) - FileTimeEpochOffset;
}

} // namespace platform
