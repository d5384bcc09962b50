#pragma once

// A picture as the overview shows it: its pixels at the tile's scale, sampled as the
// converter's thumbnails are, with its colours and border; or the refusal's text.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kadromir {

struct Tile {
    int Side = 0;
    std::vector<std::uint8_t> Indices;       // Side x Side palette indices, rows from the top
    std::array<std::uint32_t, 16> Palette{}; // 0x00RRGGBB
    std::uint32_t Border = 0;                // 0x00RRGGBB
    // No picture came: the decoder refused the file (its text, without the dash the
    // title puts before it), or found nothing to load (no text).
    bool Refused = false;
    std::string Refusal;

    std::size_t Bytes() const { return sizeof(Tile) + Indices.size() + Refusal.size(); }
};

// The tile of the picture file at `path`, `side` pixels a side (1 to 4096). Reads the
// file as the viewer does: bounded, never blocking, regular files only.
Tile DecodeTile(const std::string& path, int side);

} // namespace kadromir
