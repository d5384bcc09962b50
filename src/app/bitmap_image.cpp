#include "bitmap_image.h"

namespace kadromir {

void RenderFrameBitmap(const FrameBitmap& bitmap, ui::Image& image) {
    image.Width = FrameBitmap::Width;
    image.Height = FrameBitmap::Height;
    image.Pixels.resize(std::size_t{FrameBitmap::Width} * FrameBitmap::Height);
    // Both nibbles of a byte at once: 256 pairs of colours.
    std::uint64_t pairs[256];
    for (int b = 0; b < 256; ++b) {
        const std::uint64_t left = 0xFF000000u | bitmap.PaletteEntry(b >> 4);
        const std::uint64_t right = 0xFF000000u | bitmap.PaletteEntry(b & 0x0F);
        pairs[b] = left | (right << 32);
    }
    for (int y = 0; y < FrameBitmap::Height; ++y) {
        std::uint32_t* line = image.Pixels.data() + std::size_t{FrameBitmap::Width} * y;
        const auto row = bitmap.Row(y);
        for (int k = 0; k < FrameBitmap::RowBytes; ++k) {
            const std::uint64_t pair = pairs[row[static_cast<std::size_t>(k)]];
            line[2 * k] = static_cast<std::uint32_t>(pair);
            line[2 * k + 1] = static_cast<std::uint32_t>(pair >> 32);
        }
    }
}

} // namespace kadromir
