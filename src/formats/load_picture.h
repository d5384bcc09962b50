#pragma once

#include "colour_code.h"
#include "decoded_picture.h"
#include "frame_bitmap.h"

#include <string>

namespace kadromir {

// What a load works on: the frame bitmap, the border colour around it (as its
// ColourCode; 0x00 is the black of start-up) and the text of the last rejection.
struct PictureState {
    FrameBitmap Bitmap;
    ColourCode BorderColour = 0x00;
    std::string LoadMessage;
};

// What a load came to. The viewer ignores it (the state says all it needs); the
// converter reports it.
enum class LoadOutcome { Loaded, Rejected, NothingLoaded };

// The one load entry. Empties LoadMessage, picks the decoder by the path's extension
// (".SPR", ".SCR", ".RMB", ASCII letters compared without regard to case) and:
// - on acceptance sets the border colour, all 16 palette entries and every pixel;
// - on a designed rejection sets LoadMessage and changes nothing else;
// - for any other extension, or an SCR file without its lead mark, changes nothing.
LoadOutcome LoadPicture(const std::string& path, PictureState& state);

// The part of a load after decoding, for callers that decode bytes themselves.
LoadOutcome ApplyDecodeResult(const DecodeResult& result, PictureState& state);

// Which decoder the extension of `path` selects; nullptr for none.
using FileDecoder = DecodeResult (*)(const std::string& path);
FileDecoder DecoderFor(const std::string& path);
// Whether the extension of `path` names one of the three formats.
inline bool HasPictureExtension(const std::string& path) {
    return DecoderFor(path) != nullptr;
}

} // namespace kadromir
