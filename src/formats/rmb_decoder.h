#pragma once

#include "decoded_picture.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace kadromir {

/*
 * RMB: unpacked planes stored row by row, with a reversed palette.
 *
 *   offset   length  content
 *   0        16      palette reversed: offset 15 - i holds entry i; offset 15 is the border
 *   16       3       mark 0x20 0x00 0x0F
 *   19       32768   4 planes of 256 rows of 32 bytes: plane p, row r, column c at
 *                    19 + p * 8192 + r * 32 + c
 *   32787    any     ignored
 *
 * The mark is tested before the size. The size test asks for 32786 bytes, one less
 * than the planes fill; the missing last plane byte of such a file is 0.
 */
inline constexpr std::size_t RmbMarkOffset = 16;
inline constexpr std::array<std::uint8_t, 3> RmbMark{0x20, 0x00, 0x0F};
inline constexpr std::size_t RmbPlanesOffset = 19;
inline constexpr std::size_t RmbMinimumSize = 32786;
inline constexpr std::size_t RmbReadLimit = RmbPlanesOffset + 32768;

DecodeResult DecodeRmb(std::span<const std::uint8_t> file);

// Reads the file and decodes it. A file that cannot be read is rejected with
// "-Ошибка чтения файла!".
DecodeResult DecodeRmbFile(const std::string& path);

} // namespace kadromir
