#pragma once

#include "load_picture.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace kadromir {

// Reading pictures handed over as bytes rather than as a file of ours: by other
// programs' image readers, which name the format or let the content tell it.
enum class PictureFormat { Spr, Scr, Rmb };

// By the name's extension, as the viewer picks a decoder.
std::optional<PictureFormat> FormatOfName(const std::string& name);
// By the content, where the host names no format: only SCR's lead mark with its
// signature is strong enough to tell a picture from other programs' files. RMB's
// three bytes at offset 16 also open some TGA files, and SPR has no mark at all, so
// those two are known by name alone.
std::optional<PictureFormat> FormatOfContent(std::span<const std::uint8_t> head);
// How many leading bytes of the content FormatOfContent looks at.
inline constexpr std::size_t FormatMarkBytes = 16;

// The most bytes worth reading for the format: what its decoder can use. An SPR file
// longer than this is refused, as the viewer refuses it; read one byte more to know.
std::size_t ReadLimitOf(PictureFormat format);

// LoadPicture for bytes: only the bytes the format can use count and an SPR longer
// than its limit is refused. An SCR takes its colours from the side file of
// `paletteName`, the name the bytes were read under where there is one; the name is
// used for nothing else. Without one, or without a side file, the default palette.
LoadOutcome LoadPictureBytes(PictureFormat format, std::span<const std::uint8_t> bytes,
                             PictureState& state, const std::string& paletteName = {});

} // namespace kadromir
