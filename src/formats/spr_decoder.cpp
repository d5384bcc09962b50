#include "spr_decoder.h"

#include "base/file_system.h"
#include "byte_blocks.h"
#include "load_message.h"

#include <algorithm>
#include <cstring>

namespace kadromir {
namespace {
constexpr std::ptrdiff_t PaletteOffset = 0;
constexpr std::ptrdiff_t StartByteOffset = 16;
// Below this offset a byte can only be payload.
constexpr std::ptrdiff_t LowestControlOffset = 19;

// Decodes the packed stream into `out` and returns how many bytes it gave.
std::size_t DecodeStream(std::span<const std::uint8_t> file, std::uint8_t* const out) {
    const std::uint8_t* const bytes = file.data();
    const auto size = static_cast<std::ptrdiff_t>(file.size());
    constexpr auto full = static_cast<std::ptrdiff_t>(PlaneBufferSize);
    std::ptrdiff_t count = 0;

    std::uint8_t control = bytes[StartByteOffset];
    std::ptrdiff_t read = size - 1;
    if (control == 0) {
        std::ptrdiff_t top = size - 1;
        while (top >= LowestControlOffset && bytes[top] == 0) {
            --top;
        }
        if (top < LowestControlOffset) {
            return 0;
        }
        control = bytes[top];
        read = top - 1;
    }

    for (;;) {
        const auto room = static_cast<std::size_t>(full - count);
        if (control > 0x80) {
            const auto times = std::min<std::ptrdiff_t>(control - 0x80, full - count);
            blocks::FillFast(out + count, bytes[read], static_cast<std::size_t>(times), room);
            count += times;
            --read;
        } else if (control > 0) {
            // The payload runs from `read` downwards; a damaged file may want more
            // bytes than lie above offset 0.
            const std::ptrdiff_t wanted = control;
            const std::ptrdiff_t available = std::min(wanted, read + 1);
            const std::ptrdiff_t taken = std::min(available, full - count);
            blocks::CopyDownwardsFast(bytes + read, static_cast<std::size_t>(taken), out + count,
                                      room, static_cast<std::size_t>(read));
            count += taken;
            read -= wanted;
            if (available < wanted) {
                break;
            }
        }
        if (count >= full || read < LowestControlOffset) {
            // `read` < 19 means the next control byte would lie at offset 18 or below.
            break;
        }
        control = bytes[read];
        --read;
    }
    return static_cast<std::size_t>(count);
}

} // namespace

DecodeResult DecodeSpr(std::span<const std::uint8_t> file) {
    DecodeResult result;
    if (file.size() < SprMinimumSize) {
        result = Rejection{LoadMessages::SprUnsuitable};
        return result;
    }
    auto& picture = result.emplace<DecodedPicture>();
    picture.Order = PlaneOrder::Mirrored;
    picture.Border = file[PaletteOffset];
    std::copy_n(file.begin() + PaletteOffset, 16, picture.Palette.begin());
    const std::size_t count = DecodeStream(file, picture.Planes.data());
    blocks::ZeroFrom(picture.Planes, count);
    return result;
}

DecodeResult DecodeSprFile(const std::string& path) {
    const auto bytes = ReadFileBytes(path, SprMaximumSize, Oversize::Refuse);
    return DecodeSpr(bytes ? std::span<const std::uint8_t>(*bytes)
                           : std::span<const std::uint8_t>());
}

} // namespace kadromir
