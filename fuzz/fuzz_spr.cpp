#include "formats/load_picture.h"
#include "formats/spr_decoder.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kadromir::PictureState state;
    kadromir::ApplyDecodeResult(kadromir::DecodeSpr(std::span<const std::uint8_t>(data, size)),
                                state);
    return 0;
}
