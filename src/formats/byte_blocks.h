#pragma once

// Byte-block helpers shared by the decoders: SSE2 (every x86-64 has it) where
// available, plain loops elsewhere. Internal to the formats library.

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kadromir::blocks {

#if defined(__SSE2__)
inline __m128i Reverse16(__m128i v) {
    v = _mm_shuffle_epi32(v, _MM_SHUFFLE(0, 1, 2, 3));
    v = _mm_shufflelo_epi16(v, _MM_SHUFFLE(2, 3, 0, 1));
    v = _mm_shufflehi_epi16(v, _MM_SHUFFLE(2, 3, 0, 1));
    return _mm_or_si128(_mm_slli_epi16(v, 8), _mm_srli_epi16(v, 8));
}
#endif

// Copies top[0], top[-1], ..., top[-(n - 1)] to out[0 .. n - 1]: the packed streams
// are read downwards and written upwards.
inline void CopyDownwards(const std::uint8_t* top, std::size_t n, std::uint8_t* out) {
    std::size_t i = 0;
#if defined(__SSE2__)
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(top - i - 15));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), Reverse16(v));
    }
#endif
    for (; i < n; ++i) {
        out[i] = *(top - i);
    }
}

// Writes `value` n times. Pairs and triples are the common case in the packed
// streams, so they skip the call into the library's memset.
inline void Fill(std::uint8_t* out, std::uint8_t value, std::size_t n) {
    if (n <= 4) {
        for (std::size_t i = 0; i < n; ++i) {
            out[i] = value;
        }
    } else {
        std::memset(out, value, n);
    }
}

// Decoding writes whole 16-byte blocks where it can, so that short tokens cost no
// length-dependent loop. The bytes written past a token's end are scratch: later
// tokens overwrite them, and the decoder clears what is left after its last token
// with ZeroFrom. `room` is the space left in `out`; `below` how many bytes below
// `top` may be read.
inline constexpr std::size_t Block = 16;

inline std::size_t RoundUpToBlock(std::size_t n) {
    return (n + Block - 1) / Block * Block;
}

// Two blocks are written even for the shortest token: most tokens fit in them, and
// a loop whose trip count changes from token to token costs a mispredicted branch.
inline constexpr std::size_t FastSpan = 2 * Block;

inline void CopyDownwardsFast(const std::uint8_t* top, std::size_t n, std::uint8_t* out,
                              std::size_t room, std::size_t below) {
#if defined(__SSE2__)
    const std::size_t whole = n <= FastSpan ? FastSpan : RoundUpToBlock(n);
    if (whole <= room && whole <= below + 1) {
        const auto copyBlock = [&](std::size_t i) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(top - i - 15));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), Reverse16(v));
        };
        copyBlock(0);
        copyBlock(Block);
        for (std::size_t i = FastSpan; i < whole; i += Block) {
            copyBlock(i);
        }
        return;
    }
#else
    (void)room;
    (void)below;
#endif
    CopyDownwards(top, n, out);
}

inline void FillFast(std::uint8_t* out, std::uint8_t value, std::size_t n, std::size_t room) {
#if defined(__SSE2__)
    const std::size_t whole = n <= FastSpan ? FastSpan : RoundUpToBlock(n);
    if (whole <= room) {
        const __m128i v = _mm_set1_epi8(static_cast<char>(value));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), v);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + Block), v);
        for (std::size_t i = FastSpan; i < whole; i += Block) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), v);
        }
        return;
    }
#else
    (void)room;
#endif
    Fill(out, value, n);
}

// Zeroes the planes from `count` on: what a short stream did not reach is 0, and
// the fast writers' scratch bytes are gone.
template <typename Buffer> void ZeroFrom(Buffer& planes, std::size_t count) {
    std::memset(planes.data() + count, 0, planes.size() - count);
}

// Transposes a matrix of `rows` x `columns` bytes (row stride `columns`) into one
// of `columns` x `rows` (row stride `rows`). Both counts are multiples of 16.
inline void Transpose(const std::uint8_t* from, std::size_t rows, std::size_t columns,
                      std::uint8_t* to) {
#if defined(__SSE2__)
    for (std::size_t r = 0; r < rows; r += 16) {
        for (std::size_t c = 0; c < columns; c += 16) {
            __m128i v[16];
            for (std::size_t k = 0; k < 16; ++k) {
                v[k] =
                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + (r + k) * columns + c));
            }
            // Interleaving row k with row k + 8 rotates the bits of (row, column) by
            // one; four rounds swap the row and column halves: a transpose.
            for (int round = 0; round < 4; ++round) {
                __m128i t[16];
                for (std::size_t k = 0; k < 8; ++k) {
                    t[2 * k] = _mm_unpacklo_epi8(v[k], v[k + 8]);
                    t[2 * k + 1] = _mm_unpackhi_epi8(v[k], v[k + 8]);
                }
                for (std::size_t k = 0; k < 16; ++k) {
                    v[k] = t[k];
                }
            }
            for (std::size_t k = 0; k < 16; ++k) {
                _mm_storeu_si128(reinterpret_cast<__m128i*>(to + (c + k) * rows + r), v[k]);
            }
        }
    }
#else
    for (std::size_t r = 0; r < rows; ++r) {
        for (std::size_t c = 0; c < columns; ++c) {
            to[c * rows + r] = from[r * columns + c];
        }
    }
#endif
}

} // namespace kadromir::blocks
