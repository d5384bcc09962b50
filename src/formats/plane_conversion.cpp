#include "plane_buffer.h"
#include "plane_conversion_paths.h"

#include <bit>
#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define KADROMIR_HAVE_AVX2_PATH 1
#endif

namespace kadromir {
namespace {

// Spread[b]: the four output bytes of one 8-pixel group in which every pixel whose
// bit is set in plane byte b has value 1. Pixel i (bit 7 - i) lands in output byte
// i / 2, high nibble for even i. Planes 1-3 are this shifted left by their number,
// so one group costs four look-ups instead of 32 bit extractions.
constexpr std::array<std::uint32_t, 256> BuildSpread() {
    std::array<std::uint32_t, 256> table{};
    for (unsigned b = 0; b < 256; ++b) {
        std::array<std::uint8_t, 4> bytes{};
        for (unsigned i = 0; i < 8; ++i) {
            if (b & (0x80u >> i)) {
                bytes[i / 2] |= static_cast<std::uint8_t>(i % 2 == 0 ? 0x10 : 0x01);
            }
        }
        table[b] = std::bit_cast<std::uint32_t>(bytes);
    }
    return table;
}
constexpr std::array<std::uint32_t, 256> Spread = BuildSpread();

template <bool Mirrored> void ConvertPortable(const PlaneBuffer& planes, FrameBitmap& bitmap) {
    const std::uint8_t* p0 = planes.data();
    const std::uint8_t* p1 = p0 + PlaneSize;
    const std::uint8_t* p2 = p1 + PlaneSize;
    const std::uint8_t* p3 = p2 + PlaneSize;
    std::uint8_t* const pixels = bitmap.Data();
    for (std::size_t column = 0; column < 32; ++column) {
        const std::size_t group = Mirrored ? 31 - column : column;
        const std::size_t base = column * PlaneColumnSize;
        std::uint8_t* target = pixels + group * 4;
        for (std::size_t row = 0; row < 256; ++row, target += FrameBitmap::RowBytes) {
            const std::size_t i = base + row;
            const std::uint32_t out = Spread[p0[i]] | (Spread[p1[i]] << 1) |
                                      (Spread[p2[i]] << 2) | (Spread[p3[i]] << 3);
            std::memcpy(target, &out, sizeof out);
        }
    }
}

#ifdef KADROMIR_HAVE_AVX2_PATH
// The same with AVX2, one row's four output bytes per compare. The four plane bytes
// of a row, broadcast to all 32 lanes, are tested against one bit each: lane 8j + p
// tests plane p for the low-nibble pixel of output byte j (bit 6 - 2j), lane
// 8j + 4 + p the high-nibble pixel (bit 7 - 2j). The lane mask is then the row's
// output word, bit for bit.
template <bool Mirrored>
__attribute__((target("avx2"))) void ConvertAvx2(const PlaneBuffer& planes, FrameBitmap& bitmap) {
    alignas(32) std::uint8_t bitsArray[32];
    for (int j = 0; j < 4; ++j) {
        for (int p = 0; p < 4; ++p) {
            bitsArray[8 * j + p] = static_cast<std::uint8_t>(1u << (6 - 2 * j));
            bitsArray[8 * j + 4 + p] = static_cast<std::uint8_t>(1u << (7 - 2 * j));
        }
    }
    const __m256i bits = _mm256_load_si256(reinterpret_cast<const __m256i*>(bitsArray));
    // Row k of a group of four: lane 8j + m picks byte 4k + m % 4 of the group.
    __m256i pick[4];
    for (int k = 0; k < 4; ++k) {
        const char b = static_cast<char>(4 * k);
        pick[k] = _mm256_setr_epi8(b, b + 1, b + 2, b + 3, b, b + 1, b + 2, b + 3, b, b + 1, b + 2, b + 3,
                                   b, b + 1, b + 2, b + 3, b, b + 1, b + 2, b + 3, b, b + 1, b + 2,
                                   b + 3, b, b + 1, b + 2, b + 3, b, b + 1, b + 2, b + 3);
    }
    const std::uint8_t* const base = planes.data();
    std::uint8_t* const pixels = bitmap.Data();
    for (std::size_t column = 0; column < 32; ++column) {
        const std::size_t group = Mirrored ? 31 - column : column;
        const std::uint8_t* p0 = base + column * PlaneColumnSize;
        std::uint8_t* target = pixels + group * 4;
        for (std::size_t row = 0; row < 256; row += 16) {
            const auto load = [&](std::size_t plane) {
                return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p0 + plane * PlaneSize + row));
            };
            const __m128i b0 = load(0), b1 = load(1), b2 = load(2), b3 = load(3);
            const __m128i b01lo = _mm_unpacklo_epi8(b0, b1), b01hi = _mm_unpackhi_epi8(b0, b1);
            const __m128i b23lo = _mm_unpacklo_epi8(b2, b3), b23hi = _mm_unpackhi_epi8(b2, b3);
            // Each holds four rows as words B0 B1 B2 B3.
            const __m128i words[4] = {_mm_unpacklo_epi16(b01lo, b23lo), _mm_unpackhi_epi16(b01lo, b23lo),
                                      _mm_unpacklo_epi16(b01hi, b23hi), _mm_unpackhi_epi16(b01hi, b23hi)};
            for (const __m128i& four : words) {
                const __m256i both = _mm256_broadcastsi128_si256(four);
                for (const __m256i& rowPick : pick) {
                    const __m256i lanes = _mm256_shuffle_epi8(both, rowPick);
                    const __m256i set = _mm256_cmpeq_epi8(_mm256_and_si256(lanes, bits), bits);
                    const auto out = static_cast<std::uint32_t>(_mm256_movemask_epi8(set));
                    std::memcpy(target, &out, sizeof out);
                    target += FrameBitmap::RowBytes;
                }
            }
        }
    }
}

#endif

} // namespace

namespace conversion {

void Portable(const PlaneBuffer& planes, FrameBitmap& bitmap, bool mirrored) {
    mirrored ? ConvertPortable<true>(planes, bitmap) : ConvertPortable<false>(planes, bitmap);
}

#ifdef KADROMIR_HAVE_AVX2_PATH
bool Avx2Available() {
    static const bool have = __builtin_cpu_supports("avx2");
    return have;
}

void Avx2(const PlaneBuffer& planes, FrameBitmap& bitmap, bool mirrored) {
    mirrored ? ConvertAvx2<true>(planes, bitmap) : ConvertAvx2<false>(planes, bitmap);
}
#else
bool Avx2Available() { return false; }
void Avx2(const PlaneBuffer& planes, FrameBitmap& bitmap, bool mirrored) {
    Portable(planes, bitmap, mirrored);
}
#endif

} // namespace conversion

namespace {
void Convert(const PlaneBuffer& planes, FrameBitmap& bitmap, bool mirrored) {
    if (conversion::Avx2Available()) {
        conversion::Avx2(planes, bitmap, mirrored);
    } else {
        conversion::Portable(planes, bitmap, mirrored);
    }
}
} // namespace

void ConvertPlanes(const PlaneBuffer& planes, FrameBitmap& bitmap) {
    Convert(planes, bitmap, false);
}

void ConvertPlanesMirrored(const PlaneBuffer& planes, FrameBitmap& bitmap) {
    Convert(planes, bitmap, true);
}

} // namespace kadromir
