#pragma once

#include "frame_bitmap.h"
#include "plane_buffer.h"

namespace kadromir {

// The two converters from the planes to the frame bitmap's pixels.

// Rewrites all pixels of `bitmap`: column c becomes pixels 8c .. 8c + 7.
void ConvertPlanes(const PlaneBuffer& planes, FrameBitmap& bitmap);
// Rewrites all pixels of `bitmap`: column c becomes pixels 8(31 - c) .. 8(31 - c) + 7.
// Only the order of the 8-pixel groups differs; nothing is mirrored inside a group.
// Neither converter touches the palette.
void ConvertPlanesMirrored(const PlaneBuffer& planes, FrameBitmap& bitmap);

} // namespace kadromir
