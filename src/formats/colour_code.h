#pragma once

#include <array>
#include <cstdint>

namespace kadromir {

// One byte naming a colour as the picture files store it:
// bits 7-6 blue (4 levels), bits 5-3 green and 2-0 red (8 levels each).
using ColourCode = std::uint8_t;

namespace detail {
inline constexpr std::array<std::uint8_t, 4> BlueLevels{0x00, 0x7F, 0xBF, 0xFF};
inline constexpr std::array<std::uint8_t, 8> RedGreenLevels{0x00, 0x32, 0x5C, 0x7F,
                                                            0x9F, 0xBF, 0xDF, 0xFF};

constexpr std::uint32_t Red(ColourCode code) {
    return RedGreenLevels[code & 0x07];
}
constexpr std::uint32_t Green(ColourCode code) {
    return RedGreenLevels[(code >> 3) & 0x07];
}
constexpr std::uint32_t Blue(ColourCode code) {
    return BlueLevels[code >> 6];
}

constexpr std::array<std::uint32_t, 256> BuildColourCodeTable(std::uint32_t alpha) {
    std::array<std::uint32_t, 256> table{};
    for (unsigned code = 0; code < 256; ++code) {
        const auto c = static_cast<ColourCode>(code);
        table[code] = alpha | (Red(c) << 16) | (Green(c) << 8) | Blue(c);
    }
    return table;
}
} // namespace detail

// The fixed table from ColourCode to colour, in its two ready-made forms. Both are
// computed by the compiler, so no use of them converts colours at run time.
struct ColourCodeTable {
    // Background form: an opaque colour as the window layer takes it, 0xFFRRGGBB.
    static constexpr std::array<std::uint32_t, 256> BackgroundForm =
        detail::BuildColourCodeTable(0xFF000000);
    // Bitmap palette form: 0x00RRGGBB, as the frame bitmap keeps its palette.
    static constexpr std::array<std::uint32_t, 256> PaletteForm = detail::BuildColourCodeTable(0);
};

} // namespace kadromir
