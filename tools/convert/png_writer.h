#pragma once

#include "formats/load_picture.h"

#include <QByteArray>

namespace kadromir {

// The picture as a 256 x 256 8-bit palette PNG: 16 palette entries, pixels that are
// the palette indices, and a tEXt chunk "Border" with the border ColourCode as two
// upper-case hex digits. Empty on failure.
QByteArray EncodePng(const PictureState& picture);

// The largest side a scaled PNG may have.
inline constexpr int MaxPngSide = 4096;

// The same, scaled to side x side pixels by nearest neighbour (a thumbnail); the side
// is 1 to MaxPngSide.
QByteArray EncodePng(const PictureState& picture, int side);

} // namespace kadromir
