#pragma once

#include "decoded_picture.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kadromir {

/*
 * SCR: a 64-byte header, then a marker-packed copy of the plane buffer consumed
 * backwards from offset 64 + E down to offset 64. The colours are not in the file.
 *
 *   offset  length  content
 *   0       2       lead mark 0xFF 0x7F
 *   2       2       E, little-endian: the stream's highest byte is at 64 + E
 *   4       1       D, the byte that marker A stands for
 *   5       11      "T.288-31-25"
 *   16      1       marker A      (17-31 unused)
 *   32      1       marker B      (33-47 unused)
 *   48      1       marker C      (49-63 unused)
 *   64      E + 1   packed stream
 *
 * Tokens, read downwards; a byte below 0x80 is always a literal, one from 0x80 up is
 * tested against A, B, C in that order:
 *   A        D twice
 *   B V      V three times (V is the byte below B)
 *   C N V    V, N times (N = 0 appends nothing)
 *   other    itself
 * A token may take its value and count from the header; the end (below offset 64,
 * or 32768 bytes out) is tested between tokens. Decoding starts at
 * min(64 + E, size - 1), so no byte beyond the end of the file is read.
 */
inline constexpr std::size_t ScrHeaderSize = 64;
// The most of a file the stream can reach: 64 + 0xFFFF is its highest offset.
inline constexpr std::size_t ScrReadLimit = ScrHeaderSize + 0x10000;

// The lead mark at the start, and the identifying text at offset 5.
inline constexpr std::array<std::uint8_t, 2> ScrLeadMark{0xFF, 0x7F};
inline constexpr std::string_view ScrHeaderText = "T.288-31-25";
inline constexpr std::size_t ScrHeaderTextOffset = 5;

using ScrPalette = std::array<ColourCode, 16>;

// The fixed palette of an SCR picture without a side file; its border code is 0x40.
inline constexpr ColourCode DefaultScrBorder = 0x40;
inline constexpr ScrPalette DefaultScrPalette{0x40, 0x80, 0x10, 0xD0, 0x06, 0x86, 0x16, 0x36,
                                              0x00, 0xC5, 0x22, 0xC0, 0x02, 0x98, 0x52, 0xAD};

// `sidePalette` holds the 16 codes of the side file, or nothing when there is none.
DecodeResult DecodeScr(std::span<const std::uint8_t> file,
                       const std::optional<ScrPalette>& sidePalette);

// The side file of a picture: its directory, its name without extension, ".pal".
std::string PaletteSideFile(const std::string& picturePath);

// The first 16 bytes of the side file, or nothing when it is absent, is a directory,
// cannot be read or is shorter than 16 bytes. A file of exactly that name is the side
// file; without one, the first (in byte order) whose name differs only in letter case.
std::optional<ScrPalette> ReadScrPalette(const std::string& picturePath);

// Reads the file and its side file and decodes it. A file that cannot be read is
// rejected with "- Ошибка чтения файла!".
DecodeResult DecodeScrFile(const std::string& path);

} // namespace kadromir
