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
// By the marks where a format has one: SCR's lead mark and signature, RMB's mark at
// offset 16. SPR has none.
std::optional<PictureFormat> FormatOfContent(std::span<const std::uint8_t> head);
// How many leading bytes of the content FormatOfContent looks at.
inline constexpr std::size_t FormatMarkBytes = 19;

// The most bytes worth reading for the format: what its decoder can use. An SPR file
// longer than this is refused, as the viewer refuses it; read one byte more to know.
std::size_t ReadLimitOf(PictureFormat format);

// LoadPicture for bytes: only the bytes the format can use count, an SPR longer than
// its limit is refused, and an SCR has no side file, so the default palette serves.
LoadOutcome LoadPictureBytes(PictureFormat format, std::span<const std::uint8_t> bytes,
                             PictureState& state);

} // namespace kadromir
