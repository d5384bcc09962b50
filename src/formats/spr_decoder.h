#pragma once

#include "decoded_picture.h"

#include <cstdint>
#include <span>
#include <string>

namespace kadromir {

/*
 * SPR: a palette, a start byte and a run-length packed copy of the plane buffer that
 * is consumed backwards, from the end of the file towards the header.
 *
 *   offset  length  content
 *   0       16      ColourCode of palette entries 0-15; entry 0 is also the border
 *   16      1       start byte: 0, or the control byte of the first token
 *   17      rest    packed stream (with start byte 0, optionally zero padding at the end)
 *
 * A token is a control byte C with its payload just below it:
 *   0x00        nothing
 *   0x01-0x80   C literal bytes, appended in falling offset order
 *   0x81-0xFF   the byte below C, appended C - 0x80 times
 * Start byte B != 0: C = B and the payload starts at the last byte of the file.
 * Start byte 0: trailing zero bytes are skipped (never below offset 19) and the last
 * non-zero byte is the first control byte. After the first token, a control byte is
 * taken only from offset 19 up; decoding also ends when 32768 bytes are out. A
 * literal that would reach below offset 0 (a damaged file) keeps the bytes down to
 * offset 0 and ends the stream. The file must be at least 536 bytes long.
 */
inline constexpr std::size_t SprMinimumSize = 536;
// No picture of this kind comes near this size; a larger file is refused unread, as
// reading it would stall the window and exhaust memory.
inline constexpr std::size_t SprMaximumSize = std::size_t{64} << 20;

DecodeResult DecodeSpr(std::span<const std::uint8_t> file);

// Reads the file and decodes it; a file that cannot be read, or one larger than
// SprMaximumSize, counts as empty.
DecodeResult DecodeSprFile(const std::string& path);

} // namespace kadromir
