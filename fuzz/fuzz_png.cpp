// Reading a PNG back as a picture of ours: any bytes give a picture or a refusal,
// never a read outside them; an accepted picture written in each format decodes to
// the same indices and codes.
#include "formats/picture_bytes.h"
#include "formats/picture_writers.h"
#include "formats/rmb_decoder.h"
#include "formats/spr_decoder.h"
#include "png/picture_png.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto read = kadromir::ReadPicturePng({data, size}, size % 2 == 1);
    const auto* picture = std::get_if<kadromir::PngPicture>(&read);
    if (picture == nullptr) {
        return 0;
    }
    if (picture->Indices.size() != 65536) {
        std::abort();
    }
    for (const auto& file : {kadromir::WriteSpr(picture->Palette, picture->Indices),
                             kadromir::WriteRmb(picture->Palette, picture->Indices)}) {
        kadromir::PictureState state;
        const auto format = file.size() == kadromir::RmbReadLimit ? kadromir::PictureFormat::Rmb
                                                                  : kadromir::PictureFormat::Spr;
        if (kadromir::LoadPictureBytes(format, file, state) != kadromir::LoadOutcome::Loaded ||
            kadromir::PictureIndices(state.Bitmap, 256) != picture->Indices ||
            state.BorderColour != picture->Palette[0]) {
            std::abort();
        }
    }
    return 0;
}
