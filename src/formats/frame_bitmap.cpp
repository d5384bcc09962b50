#include "frame_bitmap.h"

#include <cassert>

namespace kadromir {

void FrameBitmap::SetPaletteEntry(int index, ColourCode code) {
    assert(index >= 0 && index < PaletteSize);
    Palette[static_cast<std::size_t>(index)] = ColourCodeTable::PaletteForm[code];
}

std::uint32_t FrameBitmap::PaletteEntry(int index) const {
    assert(index >= 0 && index < PaletteSize);
    return Palette[static_cast<std::size_t>(index)];
}

int FrameBitmap::PixelIndex(int x, int y) const {
    assert(x >= 0 && x < Width);
    const std::uint8_t pair = Row(y)[static_cast<std::size_t>(x / 2)];
    return (x % 2 == 0) ? pair >> 4 : pair & 0x0F;
}

} // namespace kadromir
