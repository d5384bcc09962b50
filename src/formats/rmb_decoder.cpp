#include "rmb_decoder.h"

#include "base/file_system.h"
#include "byte_blocks.h"
#include "load_message.h"

#include <algorithm>
#include <memory>

namespace kadromir {

DecodeResult DecodeRmb(std::span<const std::uint8_t> file) {
    DecodeResult result;
    // A file too short to hold the mark lacks it.
    if (file.size() < RmbPlanesOffset || file[RmbMarkOffset] != RmbMark[0] ||
        file[RmbMarkOffset + 1] != RmbMark[1] || file[RmbMarkOffset + 2] != RmbMark[2]) {
        result = Rejection{LoadMessages::RmbHeaderMismatch};
        return result;
    }
    if (file.size() < RmbMinimumSize) {
        result = Rejection{LoadMessages::RmbTooShort};
        return result;
    }
    auto& picture = result.emplace<DecodedPicture>();
    picture.Order = PlaneOrder::Straight;
    picture.Border = file[15];
    for (std::size_t i = 0; i < 16; ++i) {
        picture.Palette[i] = file[15 - i];
    }

    // A file of 32786 bytes lacks the last plane byte, which counts as 0.
    const std::uint8_t* planes = file.data() + RmbPlanesOffset;
    std::unique_ptr<std::uint8_t[]> padded;
    if (const std::size_t available = file.size() - RmbPlanesOffset; available < PlaneBufferSize) {
        padded = std::make_unique<std::uint8_t[]>(PlaneBufferSize);
        std::copy_n(planes, available, padded.get());
        planes = padded.get();
    }
    // Rows of 32 bytes become columns of 256, plane by plane.
    for (std::size_t p = 0; p < 4; ++p) {
        blocks::Transpose(planes + p * PlaneSize, 256, 32, picture.Planes.data() + p * PlaneSize);
    }
    return result;
}

DecodeResult DecodeRmbFile(const std::string& path) {
    const auto bytes = ReadFileBytes(path, RmbReadLimit);
    return bytes ? DecodeRmb(*bytes) : DecodeResult(Rejection{LoadMessages::RmbReadError});
}

} // namespace kadromir
