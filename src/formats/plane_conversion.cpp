#include "plane_conversion.h"
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
            const std::uint32_t out =
                Spread[p0[i]] | (Spread[p1[i]] << 1) | (Spread[p2[i]] << 2) | (Spread[p3[i]] << 3);
            std::memcpy(target, &out, sizeof out);
        }
    }
}

#ifdef KADROMIR_HAVE_AVX2_PATH
// The same with AVX2, 32 rows of four columns at a time, so that each row gets one
// 16-byte store instead of four 4-byte ones (the stores were what bounded it).
//
// A plane byte's high nibble holds pixels 0-3 of its group, the low nibble pixels 4-7.
// One nibble looked up in a 16-entry table gives a plane's share of an output byte
// (two pixels): Share[p][h][n] is that of plane p for pixels 2h, 2h + 1 of the
// nibble n, bit 4 + p for the first pixel, bit p for the second.
constexpr std::array<std::array<std::array<std::uint8_t, 16>, 2>, 4> BuildShares() {
    std::array<std::array<std::array<std::uint8_t, 16>, 2>, 4> shares{};
    for (unsigned p = 0; p < 4; ++p) {
        for (unsigned h = 0; h < 2; ++h) {
            for (unsigned n = 0; n < 16; ++n) {
                const unsigned first = (n >> (3 - 2 * h)) & 1;
                const unsigned second = (n >> (2 - 2 * h)) & 1;
                shares[p][h][n] = static_cast<std::uint8_t>((first << (4 + p)) | (second << p));
            }
        }
    }
    return shares;
}
constexpr auto Shares = BuildShares();

struct Avx2Tables {
    __m256i Share[4][2];
    __m256i LowNibble;
};

__attribute__((target("avx2"))) inline __m256i
Broadcast16(const std::array<std::uint8_t, 16>& bytes) {
    return _mm256_broadcastsi128_si256(
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data())));
}

// Rows row .. row + 31 of one column: out[k] holds, as 32-bit words, the output of
// rows row + 4k .. row + 4k + 3 in its low half and rows row + 16 + 4k .. in its high half.
__attribute__((target("avx2"))) inline void ColumnWords(const std::uint8_t* column,
                                                        const Avx2Tables& t, __m256i out[4]) {
    __m256i bytes[4]; // output byte j of each of the 32 rows
    for (int j = 0; j < 4; ++j) {
        bytes[j] = _mm256_setzero_si256();
    }
    for (int p = 0; p < 4; ++p) {
        const __m256i v =
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(column + p * PlaneSize));
        const __m256i high = _mm256_and_si256(_mm256_srli_epi16(v, 4), t.LowNibble);
        const __m256i low = _mm256_and_si256(v, t.LowNibble);
        bytes[0] = _mm256_or_si256(bytes[0], _mm256_shuffle_epi8(t.Share[p][0], high));
        bytes[1] = _mm256_or_si256(bytes[1], _mm256_shuffle_epi8(t.Share[p][1], high));
        bytes[2] = _mm256_or_si256(bytes[2], _mm256_shuffle_epi8(t.Share[p][0], low));
        bytes[3] = _mm256_or_si256(bytes[3], _mm256_shuffle_epi8(t.Share[p][1], low));
    }
    const __m256i b01lo = _mm256_unpacklo_epi8(bytes[0], bytes[1]);
    const __m256i b01hi = _mm256_unpackhi_epi8(bytes[0], bytes[1]);
    const __m256i b23lo = _mm256_unpacklo_epi8(bytes[2], bytes[3]);
    const __m256i b23hi = _mm256_unpackhi_epi8(bytes[2], bytes[3]);
    out[0] = _mm256_unpacklo_epi16(b01lo, b23lo);
    out[1] = _mm256_unpackhi_epi16(b01lo, b23lo);
    out[2] = _mm256_unpacklo_epi16(b01hi, b23hi);
    out[3] = _mm256_unpackhi_epi16(b01hi, b23hi);
}

template <bool Mirrored>
__attribute__((target("avx2"))) void ConvertAvx2(const PlaneBuffer& planes, FrameBitmap& bitmap) {
    Avx2Tables t;
    for (int p = 0; p < 4; ++p) {
        for (int h = 0; h < 2; ++h) {
            t.Share[p][h] =
                Broadcast16(Shares[static_cast<std::size_t>(p)][static_cast<std::size_t>(h)]);
        }
    }
    t.LowNibble = _mm256_set1_epi8(0x0F);
    std::uint8_t* const pixels = bitmap.Data();
    for (std::size_t first = 0; first < 32; first += 4) {
        // The four columns' groups lie side by side in a row, left to right; mirrored,
        // the columns run right to left.
        const std::size_t group = Mirrored ? 28 - first : first;
        for (std::size_t row = 0; row < 256; row += 32) {
            __m256i words[4][4]; // [place in the row][k]
            for (std::size_t c = 0; c < 4; ++c) {
                const std::size_t place = Mirrored ? 3 - c : c;
                ColumnWords(planes.data() + (first + c) * PlaneColumnSize + row, t, words[place]);
            }
            for (std::size_t k = 0; k < 4; ++k) {
                // A 4 × 4 transpose of words: from one vector per column to one per row.
                const __m256i a = _mm256_unpacklo_epi32(words[0][k], words[1][k]);
                const __m256i b = _mm256_unpackhi_epi32(words[0][k], words[1][k]);
                const __m256i c = _mm256_unpacklo_epi32(words[2][k], words[3][k]);
                const __m256i d = _mm256_unpackhi_epi32(words[2][k], words[3][k]);
                const __m256i rows[4] = {_mm256_unpacklo_epi64(a, c), _mm256_unpackhi_epi64(a, c),
                                         _mm256_unpacklo_epi64(b, d), _mm256_unpackhi_epi64(b, d)};
                for (std::size_t i = 0; i < 4; ++i) {
                    std::uint8_t* upper =
                        pixels + (row + 4 * k + i) * FrameBitmap::RowBytes + group * 4;
                    std::uint8_t* lower = upper + 16 * FrameBitmap::RowBytes;
                    _mm_storeu_si128(reinterpret_cast<__m128i*>(upper),
                                     _mm256_castsi256_si128(rows[i]));
                    _mm_storeu_si128(reinterpret_cast<__m128i*>(lower),
                                     _mm256_extracti128_si256(rows[i], 1));
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
bool Avx2Available() {
    return false;
}
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
