#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kadromir {

// The planar picture every decoder fills: 4 planes of 8192 bytes; within a plane
// 32 columns of 256 bytes; within a column one byte per row. The byte for plane p,
// column c, row r is at p * 8192 + c * 256 + r. Bit 7 of a byte is the leftmost of
// its 8 pixels; plane p contributes bit p of each pixel's palette index.
inline constexpr std::size_t PlaneBufferSize = 32768;
inline constexpr std::size_t PlaneSize = 8192;
inline constexpr std::size_t PlaneColumnSize = 256;
using PlaneBuffer = std::array<std::uint8_t, PlaneBufferSize>;

constexpr std::size_t PlaneIndex(int plane, int column, int row) {
    return static_cast<std::size_t>(plane) * PlaneSize +
           static_cast<std::size_t>(column) * PlaneColumnSize + static_cast<std::size_t>(row);
}

} // namespace kadromir
