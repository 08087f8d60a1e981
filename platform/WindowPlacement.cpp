#include "platform/WindowPlacement.h"

namespace platform {
namespace {

constexpr std::size_t PlacementSize = 44;

void Put(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

std::uint32_t Get(const std::vector<std::uint8_t>& in, std::size_t offset) {
    return in[offset] | in[offset + 1] << 8 | in[offset + 2] << 16 |
           static_cast<std::uint32_t>(in[offset + 3]) << 24;
}

} // namespace

std::vector<std::uint8_t> EncodePlacement(const WindowPlacement& p) {
    std::vector<std::uint8_t> out;
    out.reserve(PlacementSize);
    for (std::uint32_t v :
         {static_cast<std::uint32_t>(PlacementSize), p.flags, p.showCommand,
          static_cast<std::uint32_t>(p.minX), static_cast<std::uint32_t>(p.minY),
          static_cast<std::uint32_t>(p.maxX), static_cast<std::uint32_t>(p.maxY),
          static_cast<std::uint32_t>(p.left), static_cast<std::uint32_t>(p.top),
          static_cast<std::uint32_t>(p.right), static_cast<std::uint32_t>(p.bottom)}) {
        Put(out, v);
    }
    return out;
}

std::optional<WindowPlacement> DecodePlacement(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() != PlacementSize) {
        return std::nullopt;
    }
    auto i = [&](std::size_t field) { return static_cast<std::int32_t>(Get(bytes, field * 4)); };
    WindowPlacement p;
    p.flags = Get(bytes, 4);
    p.showCommand = Get(bytes, 8);
    p.minX = i(3);
    p.minY = i(4);
    p.maxX = i(5);
    p.maxY = i(6);
    p.left = i(7);
    p.top = i(8);
    p.right = i(9);
    p.bottom = i(10);
    return p;
}

} // namespace platform
