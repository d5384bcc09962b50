#pragma once

#include "formats/decoded_picture.h"
#include "formats/rmb_decoder.h"
#include "formats/scr_decoder.h"

#include <cstdint>
#include <span>
#include <vector>

// Writers of the three picture formats, for test fixtures, benchmarks and samples.
// Each produces a file that the matching decoder turns back into the same planes.
namespace kadromir::encoder {

// Planes for a picture given as 65536 palette indices, row by row from the top, so
// that the converter selected by `order` gives those pixels back.
PlaneBuffer PlanesFromIndices(std::span<const std::uint8_t> indices, PlaneOrder order);

struct SprOptions {
    // Use the first token's control byte as the start byte instead of 0.
    bool NonZeroStart = false;
    // Zero bytes after the stream (only meaningful with a start byte of 0).
    std::size_t TrailingZeros = 0;
};
std::vector<std::uint8_t> EncodeSpr(const std::array<ColourCode, 16>& palette,
                                    const PlaneBuffer& planes, const SprOptions& options = {});

struct ScrOptions {
    std::uint8_t PairByte = 0x00;
    std::uint8_t MarkerA = 0xFE;
    std::uint8_t MarkerB = 0xFD;
    std::uint8_t MarkerC = 0xFC;
};
// Throws std::length_error when the stream would not fit the 16-bit end offset.
std::vector<std::uint8_t> EncodeScr(const PlaneBuffer& planes, const ScrOptions& options = {});
std::vector<std::uint8_t> EncodePal(const ScrPalette& palette);

std::vector<std::uint8_t> EncodeRmb(const std::array<ColourCode, 16>& palette,
                                    const PlaneBuffer& planes);

} // namespace kadromir::encoder
