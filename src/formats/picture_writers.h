#pragma once

#include "colour_code.h"
#include "decoded_picture.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace kadromir {

// Files of the three formats for a picture given as 16 colour codes (entry 0 is also
// the border, as all three formats have it) and 65536 palette indices, row by row
// from the top. Each decodes, under its format's rules, to exactly those pixels,
// palette and border.

// The planes that the converter for `order` turns back into those indices.
PlaneBuffer PlanesFromIndices(std::span<const std::uint8_t> indices, PlaneOrder order);

// SPR: the shortest token stream for the planes (found by dynamic programming over
// literal and run tokens), above the two header bytes that can only be payload, padded
// to the format's least size.
std::vector<std::uint8_t> WriteSpr(const std::array<ColourCode, 16>& palette,
                                   std::span<const std::uint8_t> indices);
// SCR: the markers are the three bytes from 0x80 up that the planes use least, the
// pair byte the one whose pairs are commonest; runs of 4 and more, triples and pairs
// take their tokens. The colours go in a .pal file beside it (WritePal), or, when
// they are DefaultScrPalette, nowhere.
std::vector<std::uint8_t> WriteScr(std::span<const std::uint8_t> indices);
std::vector<std::uint8_t> WritePal(const std::array<ColourCode, 16>& palette);
// RMB: the palette reversed, the mark, the planes unpacked.
std::vector<std::uint8_t> WriteRmb(const std::array<ColourCode, 16>& palette,
                                   std::span<const std::uint8_t> indices);

} // namespace kadromir
