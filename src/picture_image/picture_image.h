#pragma once

#include "formats/load_picture.h"

#include <QByteArray>
#include <QImage>

namespace kadromir {

// The largest side a scaled picture may have.
inline constexpr int MaxPictureSide = 4096;

// The picture as an 8-bit indexed image of side x side pixels (256 unscaled; scaled by
// nearest neighbour, each pixel taking the picture's pixel at its centre): 16 colours,
// pixels that are the palette indices, and the text "Border" with the border
// ColourCode as two upper-case hex digits. A null image for a side outside 1 to
// MaxPictureSide. What the converter writes, other programs read and the viewer saves.
QImage PictureImage(const PictureState& picture, int side = FrameBitmap::Width);

// That image as PNG bytes (the text as a tEXt chunk); empty on failure.
QByteArray EncodePng(const PictureState& picture, int side = FrameBitmap::Width);

} // namespace kadromir
