#include "load_picture.h"

#include "base/path_rules.h"
#include "rmb_decoder.h"
#include "scr_decoder.h"
#include "spr_decoder.h"

#include <array>
#include <string_view>

namespace kadromir {
namespace {

struct FormatEntry {
    std::string_view Extension;
    FileDecoder Decoder;
};

// Compared in this order; the first equal extension wins.
constexpr std::array<FormatEntry, 3> Formats{{
    {".SPR", &DecodeSprFile},
    {".SCR", &DecodeScrFile},
    {".RMB", &DecodeRmbFile},
}};

} // namespace

FileDecoder DecoderFor(const std::string& path) {
    const std::string extension = AsciiUpper(ExtensionPart(path));
    for (const auto& format : Formats) {
        if (extension == format.Extension) {
            return format.Decoder;
        }
    }
    return nullptr;
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
