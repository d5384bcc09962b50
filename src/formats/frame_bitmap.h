#pragma once

#include "colour_code.h"

#include <array>
#include <cassert>
#include <cstdint>
#include <span>

namespace kadromir {

// The one decoded picture: 256 x 256 pixels, 4 bits per pixel, 16-entry palette.
// Rows are counted from the top; a row is 128 bytes, byte k holding pixel 2k in its
// high nibble and pixel 2k + 1 in its low nibble. A new bitmap is all index 0 with a
// black palette.
class FrameBitmap {
  public:
    static constexpr int Width = 256;
    static constexpr int Height = 256;
    static constexpr int RowBytes = Width / 2;
    static constexpr int PaletteSize = 16;

    // Sets palette entry `index` (0-15) to the colour of `code`.
    void SetPaletteEntry(int index, ColourCode code);
    // Palette entry `index` in palette form, 0x00RRGGBB.
    std::uint32_t PaletteEntry(int index) const;

    // The 128 bytes of row y (0-255, counted from the top).
    std::span<std::uint8_t, RowBytes> Row(int y) {
        assert(y >= 0 && y < Height);
        return std::span<std::uint8_t, RowBytes>(Pixels.data() + y * RowBytes, RowBytes);
    }
    std::span<const std::uint8_t, RowBytes> Row(int y) const {
        assert(y >= 0 && y < Height);
        return std::span<const std::uint8_t, RowBytes>(Pixels.data() + y * RowBytes, RowBytes);
    }
    // All rows, top row first, for the converters and the display.
    std::uint8_t* Data() { return Pixels.data(); }
    const std::uint8_t* Data() const { return Pixels.data(); }

    // Palette index (0-15) of the pixel at x, y.
    int PixelIndex(int x, int y) const;

    bool operator==(const FrameBitmap&) const = default;

  private:
    std::array<std::uint8_t, RowBytes * Height> Pixels{};
    std::array<std::uint32_t, PaletteSize> Palette{};
};

} // namespace kadromir
