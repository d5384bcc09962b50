#pragma once

#include "load_picture.h"
#include "picture_formats.h"

#include <cstdint>
#include <span>
#include <string>

namespace kadromir {

// LoadPicture for bytes handed over by other programs' image readers: only the bytes
// the format can use count and an SPR longer than its limit is refused. An SCR takes
// its colours from the side file of `paletteName`, the name the bytes were read under
// where there is one; the name is used for nothing else. Without one, or without a
// side file, the default palette.
LoadOutcome LoadPictureBytes(PictureFormat format, std::span<const std::uint8_t> bytes,
                             PictureState& state, const std::string& paletteName = {});

} // namespace kadromir
