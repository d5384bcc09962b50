#include "scr_decoder.h"

#include "base/file_system.h"
#include "base/path_rules.h"
#include "byte_blocks.h"
#include "load_message.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string_view>

namespace kadromir {
namespace {
constexpr std::size_t MarkerAOffset = 16;
constexpr std::size_t MarkerBOffset = 32;
constexpr std::size_t MarkerCOffset = 48;
constexpr std::ptrdiff_t StreamBottom = 64;

struct Markers {
    std::uint8_t A, B, C;
#if defined(__SSE2__)
    __m128i WideA = _mm_set1_epi8(static_cast<char>(A));
    __m128i WideB = _mm_set1_epi8(static_cast<char>(B));
    __m128i WideC = _mm_set1_epi8(static_cast<char>(C));
#endif
    // A byte below 0x80 is always a literal, whatever the markers hold.
    bool Match(std::uint8_t b) const {
        return b >= 0x80 && (b == A || b == B || b == C);
    }
};

// How many bytes from `top` downwards, at most `limit`, are literals.
std::size_t LiteralStretch(const std::uint8_t* top, std::size_t limit, const Markers& markers) {
    std::size_t n = 0;
#if defined(__SSE2__)
    for (; n + 16 <= limit; n += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(top - n - 15));
        const __m128i equal = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(v, markers.WideA), _mm_cmpeq_epi8(v, markers.WideB)),
            _mm_cmpeq_epi8(v, markers.WideC));
        const auto hits =
            static_cast<std::uint16_t>(_mm_movemask_epi8(equal) & _mm_movemask_epi8(v));
        if (hits != 0) {
            // Lane 15 is the highest offset, the first byte in stream order.
            return n + static_cast<std::size_t>(std::countl_zero(hits));
        }
    }
#endif
    while (n < limit && !markers.Match(*(top - n))) {
        ++n;
    }
    return n;
}
} // namespace

DecodeResult DecodeScr(std::span<const std::uint8_t> file,
                       const std::optional<ScrPalette>& sidePalette) {
    DecodeResult result;
    if (file.size() < 2 || file[0] != ScrLeadMark[0] || file[1] != ScrLeadMark[1]) {
        return result;
    }
    // A file that ends inside the header cannot hold the identifying text.
    if (file.size() < ScrHeaderSize ||
        std::memcmp(file.data() + ScrHeaderTextOffset, ScrHeaderText.data(),
                    ScrHeaderText.size()) != 0) {
        result = Rejection{LoadMessages::ScrHeaderMismatch};
        return result;
    }
    auto& picture = result.emplace<DecodedPicture>();
    picture.Order = PlaneOrder::Mirrored;
    if (sidePalette) {
        picture.Palette = *sidePalette;
        picture.Border = (*sidePalette)[0];
    } else {
        picture.Palette = DefaultScrPalette;
        picture.Border = DefaultScrBorder;
    }

    const std::uint8_t* const bytes = file.data();
    const std::ptrdiff_t end = bytes[2] | (bytes[3] << 8);
    const std::uint8_t pairByte = bytes[4];
    const std::uint8_t markerA = bytes[MarkerAOffset];
    const std::uint8_t markerB = bytes[MarkerBOffset];
    const std::uint8_t markerC = bytes[MarkerCOffset];

    std::uint8_t* const out = picture.Planes.data();
    std::ptrdiff_t count = 0;
    constexpr auto full = static_cast<std::ptrdiff_t>(PlaneBufferSize);
    const auto append = [&](std::uint8_t value, std::ptrdiff_t times) {
        times = std::min(times, full - count);
        if (times <= 0) {
            return;
        }
        blocks::FillFast(out + count, value, static_cast<std::size_t>(times),
                         static_cast<std::size_t>(full - count));
        count += times;
    };

    const Markers markers{markerA, markerB, markerC};
    std::ptrdiff_t x = std::min(StreamBottom + end, static_cast<std::ptrdiff_t>(file.size()) - 1);
    while (x >= StreamBottom && count < full) {
        // Literal tokens come in stretches; a stretch is copied at once, and since
        // each literal is a whole token the end tests between them change nothing.
        const std::size_t limit =
            static_cast<std::size_t>(std::min(x - StreamBottom + 1, full - count));
        const std::size_t literals = LiteralStretch(bytes + x, limit, markers);
        blocks::CopyDownwardsFast(bytes + x, literals, out + count,
                                  static_cast<std::size_t>(full - count),
                                  static_cast<std::size_t>(x));
        count += static_cast<std::ptrdiff_t>(literals);
        x -= static_cast<std::ptrdiff_t>(literals);
        if (literals == limit) {
            break;
        }
        const std::uint8_t token = bytes[x];
        if (token == markerA) {
            append(pairByte, 2);
        } else if (token == markerB) {
            --x;
            append(bytes[x], 3);
        } else {
            const std::uint8_t times = bytes[x - 1];
            x -= 2;
            append(bytes[x], times);
        }
        --x;
    }
    blocks::ZeroFrom(picture.Planes, static_cast<std::size_t>(count));
    return result;
}

std::string PaletteSideFile(const std::string& picturePath) {
    return DirectoryPart(picturePath) + NameWithoutExtension(picturePath) + ".pal";
}

namespace {

std::optional<ScrPalette> ReadPaletteFile(const std::string& path) {
    // A directory fails to read, so it counts as absent too.
    const auto bytes = ReadFileBytes(path, 16);
    if (!bytes || bytes->size() < 16) {
        return std::nullopt;
    }
    ScrPalette palette{};
    std::copy_n(bytes->Bytes().begin(), 16, palette.begin());
    return palette;
}

} // namespace

std::optional<ScrPalette> ReadScrPalette(const std::string& picturePath) {
    const std::string exact = PaletteSideFile(picturePath);
    if (ExistsAsFile(exact)) {
        return ReadPaletteFile(exact);
    }
    // Pictures from DOS and Windows disks come as GAME.SCR beside GAME.PAL: there
    // names matched without regard to case, so a side file in any case serves.
    const std::string directory = DirectoryPart(exact);
    for (const std::string& name : NamesInAnyCase(directory, FileNamePart(exact))) {
        if (ExistsAsFile(directory + name)) {
            return ReadPaletteFile(directory + name);
        }
    }
    return std::nullopt;
}

DecodeResult DecodeScrFile(const std::string& path) {
    const auto bytes = ReadFileBytes(path, ScrReadLimit);
    return bytes ? DecodeScr(*bytes, ReadScrPalette(path))
                 : DecodeResult(Rejection{LoadMessages::ScrReadError});
}

} // namespace kadromir
