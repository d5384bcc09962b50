#pragma once

#include "formats/colour_code.h"
#include "formats/load_picture.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace kadromir {

// The largest side a scaled picture may have.
inline constexpr int MaxPictureSide = 4096;

// The picture's palette indices at side x side pixels, row by row from the top: 256
// unscaled; scaled by nearest neighbour, each pixel taking the picture's pixel at its
// centre. Empty for a side outside 1 to MaxPictureSide.
std::vector<std::uint8_t> PictureIndices(const FrameBitmap& bitmap, int side);

// The picture as an 8-bit palette PNG of side x side pixels: the 16 colours, pixels
// that are the palette indices, and a tEXt chunk "Border" holding the border
// ColourCode as two upper-case hex digits. The same bytes for the same picture
// wherever it is made (the converter, the thumbnailer, the viewer's save and copy).
// Empty on failure.
std::string EncodePicturePng(const PictureState& picture, int side = FrameBitmap::Width);

// A PNG read back as a picture of ours: 16 colour codes and 65536 indices into them.
struct PngPicture {
    std::array<ColourCode, 16> Palette{};
    std::vector<std::uint8_t> Indices; // 65536, row by row from the top
    // The "Border" text where there is one and it names a code.
    std::optional<ColourCode> BorderText;
};
// Why a PNG is no picture of ours, in words that name what is wrong.
struct PngRefusal {
    std::string Message;
};

// Reads a PNG meant as one of our pictures: 256 x 256, at most 16 distinct colours,
// each a colour of the colour-code table (with `nearest`, each colour is first taken
// to the nearest code colour). An 8-bit or smaller palette PNG whose palette entries
// are all code colours keeps its palette order and its pixels' indices, duplicates
// included; otherwise the colours are numbered in the order the rows first show them.
// Alpha is ignored. A PNG larger than 256 x 256 is refused before its pixels are read.
std::variant<PngPicture, PngRefusal> ReadPicturePng(std::span<const std::uint8_t> png,
                                                    bool nearest = false);

// The colour code of an RGB colour (0xRRGGBB), where the table holds it.
std::optional<ColourCode> CodeOfColour(std::uint32_t rgb);
// The code whose colour lies nearest to `rgb` (by squared distance in RGB).
ColourCode NearestCode(std::uint32_t rgb);

} // namespace kadromir
