#include "picture_bytes.h"

#include <algorithm>

namespace kadromir {

LoadOutcome LoadPictureBytes(PictureFormat format, std::span<const std::uint8_t> bytes,
                             PictureState& state, const std::string& paletteName) {
    state.LoadMessage.clear();
    const PictureFormatRow& row = RowOf(format);
    // A file longer than such a picture counts as empty, as the file reader has it.
    if (row.RefusesLongerFiles && bytes.size() > row.ReadLimit) {
        bytes = {};
    }
    return ApplyDecodeResult(
        row.DecodeBytes(bytes.first(std::min(bytes.size(), row.ReadLimit)), paletteName), state);
}

} // namespace kadromir
