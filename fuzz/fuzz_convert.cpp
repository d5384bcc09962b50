// The converter's path up to the PNG bytes: decode as each format, then encode the
// picture as the converter writes it and read the PNG back with Qt: it must give the
// same 256 x 256 indexed picture.
#include "formats/load_picture.h"
#include "formats/rmb_decoder.h"
#include "formats/scr_decoder.h"
#include "formats/spr_decoder.h"
#include "picture_image/picture_image.h"

#include <QImage>

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
        const QByteArray png = kadromir::EncodePng(state);
        const QImage image = QImage::fromData(png, "PNG");
        if (png.isEmpty() || image.width() != 256 || image.height() != 256 ||
            image.format() != QImage::Format_Indexed8) {
            std::abort();
        }
        for (int y = 0; y < 256; y += 51) {
            for (int x = 0; x < 256; x += 17) {
                if (image.pixelIndex(x, y) != state.Bitmap.PixelIndex(x, y)) {
                    std::abort();
                }
            }
        }
    }
    return 0;
}
