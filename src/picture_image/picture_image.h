#pragma once

#include "formats/load_picture.h"
#include "png/picture_png.h"

#include <QByteArray>
#include <QImage>

namespace kadromir {

// The picture as an 8-bit indexed image of side x side pixels, as PictureIndices
// samples it: 16 colours, pixels that are the palette indices, and the text "Border"
// with the border ColourCode as two upper-case hex digits. A null image for a side
// outside 1 to MaxPictureSide. What the Qt plugin returns and the clipboard holds.
QImage PictureImage(const PictureState& picture, int side = FrameBitmap::Width);

// EncodePicturePng's bytes, for Qt's side: the PNG the converter writes.
QByteArray EncodePng(const PictureState& picture, int side = FrameBitmap::Width);

} // namespace kadromir
