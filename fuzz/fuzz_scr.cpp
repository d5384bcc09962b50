#include "formats/load_picture.h"
#include "formats/scr_decoder.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// Each input is decoded twice: without a side file, and with a side palette made of
// its own first 16 bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    kadromir::PictureState state;
    kadromir::ApplyDecodeResult(kadromir::DecodeScr(file, std::nullopt), state);
    if (size >= 16) {
        kadromir::ScrPalette palette{};
        std::copy_n(data, 16, palette.begin());
        kadromir::ApplyDecodeResult(kadromir::DecodeScr(file, palette), state);
    }
    return 0;
}
