#include "bitmap_image.h"

namespace kadromir {

void RenderFrameBitmap(const FrameBitmap& bitmap, QImage& image) {
    if (image.size() != QSize(FrameBitmap::Width, FrameBitmap::Height) ||
        image.format() != QImage::Format_RGB32) {
        image = QImage(FrameBitmap::Width, FrameBitmap::Height, QImage::Format_RGB32);
    }
    // Both nibbles of a byte at once: 256 pairs of colours.
    std::uint64_t pairs[256];
    for (int b = 0; b < 256; ++b) {
        const std::uint64_t left = 0xFF000000u | bitmap.PaletteEntry(b >> 4);
        const std::uint64_t right = 0xFF000000u | bitmap.PaletteEntry(b & 0x0F);
        pairs[b] = left | (right << 32);
    }
    for (int y = 0; y < FrameBitmap::Height; ++y) {
        auto* line = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        const auto row = bitmap.Row(y);
        for (int k = 0; k < FrameBitmap::RowBytes; ++k) {
            const std::uint64_t pair = pairs[row[static_cast<std::size_t>(k)]];
            line[2 * k] = static_cast<std::uint32_t>(pair);
            line[2 * k + 1] = static_cast<std::uint32_t>(pair >> 32);
        }
    }
}

} // namespace kadromir
