#pragma once
// The stored form of a window's placement ("Main" in the layout key): 44
// little-endian bytes of length, flags, show command, minimised and maximised
// positions and the normal-state rectangle.

#include <cstdint>
#include <optional>
#include <vector>

namespace platform {

struct WindowPlacement {
    std::uint32_t flags = 0;
    std::uint32_t showCommand = 1;
    std::int32_t minX = -1, minY = -1;
    std::int32_t maxX = -1, maxY = -1;
    // The rectangle of the window when it is neither maximised nor minimised.
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

inline constexpr std::uint32_t ShowNormal = 1;
inline constexpr std::uint32_t ShowMaximized = 3;

std::vector<std::uint8_t> EncodePlacement(const WindowPlacement& placement);
// None unless the bytes are a 44-byte placement.
std::optional<WindowPlacement> DecodePlacement(const std::vector<std::uint8_t>& bytes);

} // namespace platform
