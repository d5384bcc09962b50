#pragma once

#include "plane_buffer.h"

// The converters' implementations, reachable one by one so that tests check each,
// whichever the processor would pick.
namespace kadromir::conversion {

void Portable(const PlaneBuffer& planes, FrameBitmap& bitmap, bool mirrored);
// False where the processor or the build has no AVX2 path; Avx2 must not run then.
bool Avx2Available();
void Avx2(const PlaneBuffer& planes, FrameBitmap& bitmap, bool mirrored);

} // namespace kadromir::conversion
