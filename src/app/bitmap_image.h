#pragma once

#include "formats/frame_bitmap.h"
#include "ui/geometry.h"

namespace kadromir {

// The frame bitmap's drawing form: its 4-bit rows and palette turned once into a
// 256 x 256 RGB32 image, which every paint then only stretches. Rewrites `image` in
// place when it already has that size and format.
void RenderFrameBitmap(const FrameBitmap& bitmap, ui::Image& image);

} // namespace kadromir
