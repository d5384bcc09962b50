// The converter's path up to the PNG bytes: decode as each format, encode the picture
// as the converter writes it and read the PNG back: the same indices and border.
#include "formats/load_picture.h"
#include "formats/rmb_decoder.h"
#include "formats/scr_decoder.h"
#include "formats/spr_decoder.h"
#include "png/picture_png.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    for (const auto& result : {kadromir::DecodeSpr(file), kadromir::DecodeScr(file, std::nullopt),
                               kadromir::DecodeRmb(file)}) {
        kadromir::PictureState state;
        if (kadromir::ApplyDecodeResult(result, state) != kadromir::LoadOutcome::Loaded) {
            continue;
        }
        const std::string png = kadromir::EncodePicturePng(state);
        const auto read = kadromir::ReadPicturePng(
            {reinterpret_cast<const std::uint8_t*>(png.data()), png.size()});
        const auto* picture = std::get_if<kadromir::PngPicture>(&read);
        if (picture == nullptr || picture->Indices != kadromir::PictureIndices(state.Bitmap, 256) ||
            picture->BorderText != state.BorderColour) {
            std::abort();
        }
    }
    return 0;
}
