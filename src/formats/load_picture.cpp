#include "load_picture.h"

#include "picture_formats.h"
#include "plane_conversion.h"

namespace kadromir {

FileDecoder DecoderFor(const std::string& path) {
    const auto format = FormatOfName(path);
    return format ? RowOf(*format).DecodeFile : nullptr;
}

LoadOutcome ApplyDecodeResult(const DecodeResult& result, PictureState& state) {
    if (const auto* rejection = std::get_if<Rejection>(&result)) {
        state.LoadMessage = rejection->Message;
        return LoadOutcome::Rejected;
    }
    const auto* picture = std::get_if<DecodedPicture>(&result);
    if (picture == nullptr) {
        return LoadOutcome::NothingLoaded;
    }
    state.BorderColour = picture->Border;
    for (int i = 0; i < FrameBitmap::PaletteSize; ++i) {
        state.Bitmap.SetPaletteEntry(i, picture->Palette[static_cast<std::size_t>(i)]);
    }
    if (picture->Order == PlaneOrder::Mirrored) {
        ConvertPlanesMirrored(picture->Planes, state.Bitmap);
    } else {
        ConvertPlanes(picture->Planes, state.Bitmap);
    }
    return LoadOutcome::Loaded;
}

LoadOutcome LoadPicture(const std::string& path, PictureState& state) {
    state.LoadMessage.clear();
    const FileDecoder decoder = DecoderFor(path);
    return decoder ? ApplyDecodeResult(decoder(path), state) : LoadOutcome::NothingLoaded;
}

} // namespace kadromir
