#include "picture_writers.h"

#include "rmb_decoder.h"
#include "scr_decoder.h"
#include "spr_decoder.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace kadromir {
namespace {

constexpr std::size_t PlaneBytes = std::tuple_size_v<PlaneBuffer>;

// How many bytes from `at` equal the one there, up to `cap`.
std::size_t RunLength(const PlaneBuffer& planes, std::size_t at, std::size_t cap) {
    std::size_t length = 1;
    while (at + length < planes.size() && length < cap && planes[at + length] == planes[at]) {
        ++length;
    }
    return length;
}

} // namespace

PlaneBuffer PlanesFromIndices(std::span<const std::uint8_t> indices, PlaneOrder order) {
    PlaneBuffer planes{};
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const int group = x / 8;
            const int column = order == PlaneOrder::Mirrored ? 31 - group : group;
            const auto bit = static_cast<std::uint8_t>(0x80 >> (x % 8));
            const std::uint8_t index = indices[static_cast<std::size_t>(y * 256 + x)];
            for (int p = 0; p < 4; ++p) {
                if (index & (1 << p)) {
                    planes[PlaneIndex(p, column, y)] |= bit;
                }
            }
        }
    }
    return planes;
}

std::vector<std::uint8_t> WriteSpr(const std::array<ColourCode, 16>& palette,
                                   std::span<const std::uint8_t> indices) {
    const PlaneBuffer planes = PlanesFromIndices(indices, PlaneOrder::Mirrored);
    // cost[i]: the fewest bytes that carry planes[i..]; step[i]: the token that starts
    // there (positive: a literal of that many bytes; negative: a run of that many).
    constexpr std::size_t MaxLiteral = 128;
    constexpr std::size_t MaxRun = 127;
    std::vector<std::uint32_t> cost(PlaneBytes + 1, 0);
    std::vector<int> step(PlaneBytes, 1);
    for (std::size_t i = PlaneBytes; i-- > 0;) {
        std::uint32_t best = std::numeric_limits<std::uint32_t>::max();
        for (std::size_t length = 1; length <= MaxLiteral && i + length <= PlaneBytes; ++length) {
            const auto total = cost[i + length] + static_cast<std::uint32_t>(length) + 1;
            if (total < best) {
                best = total;
                step[i] = static_cast<int>(length);
            }
        }
        const std::size_t run = RunLength(planes, i, MaxRun);
        for (std::size_t length = 2; length <= run; ++length) {
            if (cost[i + length] + 2 < best) {
                best = cost[i + length] + 2;
                step[i] = -static_cast<int>(length);
            }
        }
        cost[i] = best;
    }
    // Tokens in decoding order, each in file order; the file holds them last first.
    std::vector<std::uint8_t> stream;
    stream.reserve(cost[0]);
    std::vector<std::pair<std::size_t, int>> tokens;
    for (std::size_t at = 0; at < PlaneBytes; at += static_cast<std::size_t>(std::abs(step[at]))) {
        tokens.emplace_back(at, step[at]);
    }
    for (auto token = tokens.rbegin(); token != tokens.rend(); ++token) {
        const auto [at, size] = *token;
        if (size < 0) {
            stream.push_back(planes[at]);
            stream.push_back(static_cast<std::uint8_t>(0x80 - size));
        } else {
            for (std::size_t k = static_cast<std::size_t>(size); k-- > 0;) {
                stream.push_back(planes[at + k]);
            }
            stream.push_back(static_cast<std::uint8_t>(size));
        }
    }
    std::vector<std::uint8_t> file(palette.begin(), palette.end());
    file.push_back(0); // start byte: the stream's top is its last non-zero byte
    // Offsets 17 and 18 can only be payload, and the file needs its least size.
    constexpr std::size_t HeaderBytes = 17;
    const std::size_t padding =
        std::max<std::size_t>(2, SprMinimumSize > HeaderBytes + stream.size()
                                     ? SprMinimumSize - HeaderBytes - stream.size()
                                     : 0);
    file.insert(file.end(), padding, 0x00);
    file.insert(file.end(), stream.begin(), stream.end());
    return file;
}

std::vector<std::uint8_t> WriteScr(std::span<const std::uint8_t> indices) {
    const PlaneBuffer planes = PlanesFromIndices(indices, PlaneOrder::Mirrored);
    std::array<std::size_t, 256> uses{};
    std::array<std::size_t, 256> pairs{};
    for (std::size_t at = 0; at < PlaneBytes;) {
        const std::size_t run = RunLength(planes, at, 255);
        uses[planes[at]] += run;
        pairs[planes[at]] += run == 2 ? 1 : 0;
        at += run;
    }
    // Markers: the high bytes used least, so that few literals need escaping.
    std::array<std::uint8_t, 128> high{};
    for (int i = 0; i < 128; ++i) {
        high[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(0x80 + i);
    }
    std::stable_sort(high.begin(), high.end(),
                     [&](std::uint8_t a, std::uint8_t b) { return uses[a] < uses[b]; });
    const std::uint8_t markerA = high[0];
    const std::uint8_t markerB = high[1];
    const std::uint8_t markerC = high[2];
    const auto pairByte =
        static_cast<std::uint8_t>(std::max_element(pairs.begin(), pairs.end()) - pairs.begin());
    const auto isMarker = [&](std::uint8_t b) {
        return b == markerA || b == markerB || b == markerC;
    };

    // Tokens in decoding order, each in file order; the file holds them last first.
    std::vector<std::vector<std::uint8_t>> tokens;
    for (std::size_t at = 0; at < PlaneBytes;) {
        const std::uint8_t value = planes[at];
        const std::size_t run = RunLength(planes, at, 255);
        if (run >= 4) {
            tokens.push_back({value, static_cast<std::uint8_t>(run), markerC});
            at += run;
        } else if (run == 3) {
            tokens.push_back({value, markerB});
            at += 3;
        } else if (run == 2 && value == pairByte) {
            tokens.push_back({markerA});
            at += 2;
        } else if (isMarker(value)) {
            tokens.push_back({value, 1, markerC});
            at += 1;
        } else {
            tokens.push_back({value});
            at += 1;
        }
    }
    std::vector<std::uint8_t> file(ScrHeaderSize, 0x00);
    std::copy(ScrLeadMark.begin(), ScrLeadMark.end(), file.begin());
    file[4] = pairByte;
    std::memcpy(file.data() + ScrHeaderTextOffset, ScrHeaderText.data(), ScrHeaderText.size());
    file[16] = markerA;
    file[32] = markerB;
    file[48] = markerC;
    for (auto token = tokens.rbegin(); token != tokens.rend(); ++token) {
        file.insert(file.end(), token->begin(), token->end());
    }
    // The least-used markers keep escapes rare: the stream never nears 64 KiB.
    const std::size_t end = file.size() - ScrHeaderSize - 1;
    file[2] = static_cast<std::uint8_t>(end & 0xFF);
    file[3] = static_cast<std::uint8_t>(end >> 8);
    return file;
}

std::vector<std::uint8_t> WritePal(const std::array<ColourCode, 16>& palette) {
    return {palette.begin(), palette.end()};
}

std::vector<std::uint8_t> WriteRmb(const std::array<ColourCode, 16>& palette,
                                   std::span<const std::uint8_t> indices) {
    const PlaneBuffer planes = PlanesFromIndices(indices, PlaneOrder::Straight);
    std::vector<std::uint8_t> file(RmbReadLimit, 0x00);
    for (std::size_t i = 0; i < 16; ++i) {
        file[15 - i] = palette[i];
    }
    std::copy(RmbMark.begin(), RmbMark.end(), file.begin() + RmbMarkOffset);
    for (int p = 0; p < 4; ++p) {
        for (int r = 0; r < 256; ++r) {
            for (int c = 0; c < 32; ++c) {
                file[RmbPlanesOffset + static_cast<std::size_t>(p * 8192 + r * 32 + c)] =
                    planes[PlaneIndex(p, c, r)];
            }
        }
    }
    return file;
}

} // namespace kadromir
