#include "picture_encoder.h"

#include "formats/picture_writers.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace kadromir::encoder {

PlaneBuffer PlanesFromIndices(std::span<const std::uint8_t> indices, PlaneOrder order) {
    if (indices.size() != 65536) {
        throw std::invalid_argument("PlanesFromIndices needs 65536 pixels");
    }
    return kadromir::PlanesFromIndices(indices, order);
}

namespace {

std::size_t RunLength(const PlaneBuffer& planes, std::size_t at, std::size_t cap) {
    std::size_t length = 1;
    while (at + length < planes.size() && length < cap && planes[at + length] == planes[at]) {
        ++length;
    }
    return length;
}

// Tokens are produced in decoding order, each already in file (ascending) order; the
// file holds them from the last to the first.
void AppendReversedTokens(std::vector<std::uint8_t>& file,
                          const std::vector<std::vector<std::uint8_t>>& tokens) {
    for (auto token = tokens.rbegin(); token != tokens.rend(); ++token) {
        file.insert(file.end(), token->begin(), token->end());
    }
}

} // namespace

std::vector<std::uint8_t> EncodeSpr(const std::array<ColourCode, 16>& palette,
                                    const PlaneBuffer& planes, const SprOptions& options) {
    std::vector<std::vector<std::uint8_t>> tokens;
    std::size_t at = 0;
    while (at < planes.size()) {
        const std::size_t run = RunLength(planes, at, 127);
        if (run >= 3) {
            tokens.push_back({planes[at], static_cast<std::uint8_t>(0x80 + run)});
            at += run;
            continue;
        }
        // A literal up to the next run of three or 128 bytes.
        std::size_t length = 0;
        while (at + length < planes.size() && length < 128 &&
               (length == 0 || RunLength(planes, at + length, 3) < 3)) {
            ++length;
        }
        std::vector<std::uint8_t> token(planes.begin() + static_cast<std::ptrdiff_t>(at),
                                        planes.begin() + static_cast<std::ptrdiff_t>(at + length));
        std::reverse(token.begin(), token.end());
        token.push_back(static_cast<std::uint8_t>(length));
        tokens.push_back(std::move(token));
        at += length;
    }

    std::vector<std::uint8_t> file(palette.begin(), palette.end());
    std::vector<std::uint8_t> firstPayload;
    if (options.NonZeroStart) {
        // The first control byte moves to the start byte; its payload ends the file.
        file.push_back(tokens.front().back());
        firstPayload.assign(tokens.front().begin(), tokens.front().end() - 1);
        tokens.erase(tokens.begin());
    } else {
        file.push_back(0);
    }
    // Offsets 17 and 18 can only be payload: pad so the lowest control byte sits at
    // 19 or above, and so the file reaches the minimum size.
    std::size_t streamSize = firstPayload.size();
    for (const auto& token : tokens) {
        streamSize += token.size();
    }
    const std::size_t padding =
        std::max<std::size_t>(2, 536 > file.size() + streamSize + options.TrailingZeros
                                     ? 536 - file.size() - streamSize - options.TrailingZeros
                                     : 0);
    file.insert(file.end(), padding, 0x00);
    AppendReversedTokens(file, tokens);
    file.insert(file.end(), firstPayload.begin(), firstPayload.end());
    file.insert(file.end(), options.TrailingZeros, 0x00);
    return file;
}

std::vector<std::uint8_t> EncodeScr(const PlaneBuffer& planes, const ScrOptions& options) {
    const auto isMarker = [&](std::uint8_t b) {
        return b >= 0x80 && (b == options.MarkerA || b == options.MarkerB || b == options.MarkerC);
    };
    std::vector<std::vector<std::uint8_t>> tokens;
    std::size_t at = 0;
    while (at < planes.size()) {
        const std::uint8_t value = planes[at];
        const std::size_t run = RunLength(planes, at, 255);
        if (run >= 4) {
            tokens.push_back({value, static_cast<std::uint8_t>(run), options.MarkerC});
            at += run;
        } else if (run == 3) {
            tokens.push_back({value, options.MarkerB});
            at += 3;
        } else if (run == 2 && value == options.PairByte) {
            tokens.push_back({options.MarkerA});
            at += 2;
        } else if (isMarker(value)) {
            tokens.push_back({value, 1, options.MarkerC});
            at += 1;
        } else {
            tokens.push_back({value});
            at += 1;
        }
    }
    std::vector<std::uint8_t> file(ScrHeaderSize, 0x00);
    file[0] = 0xFF;
    file[1] = 0x7F;
    file[4] = options.PairByte;
    std::memcpy(file.data() + 5, "T.288-31-25", 11);
    file[16] = options.MarkerA;
    file[32] = options.MarkerB;
    file[48] = options.MarkerC;
    AppendReversedTokens(file, tokens);
    const std::size_t end = file.size() - ScrHeaderSize - 1;
    if (end > 0xFFFF) {
        throw std::length_error("SCR stream longer than its end offset can say");
    }
    file[2] = static_cast<std::uint8_t>(end & 0xFF);
    file[3] = static_cast<std::uint8_t>(end >> 8);
    return file;
}

std::vector<std::uint8_t> EncodePal(const ScrPalette& palette) {
    return {palette.begin(), palette.end()};
}

std::vector<std::uint8_t> EncodeRmb(const std::array<ColourCode, 16>& palette,
                                    const PlaneBuffer& planes) {
    std::vector<std::uint8_t> file(kadromir::RmbReadLimit, 0x00);
    for (std::size_t i = 0; i < 16; ++i) {
        file[15 - i] = palette[i];
    }
    file[16] = 0x20;
    file[17] = 0x00;
    file[18] = 0x0F;
    for (int p = 0; p < 4; ++p) {
        for (int r = 0; r < 256; ++r) {
            for (int c = 0; c < 32; ++c) {
                file[static_cast<std::size_t>(19 + p * 8192 + r * 32 + c)] =
                    planes[PlaneIndex(p, c, r)];
            }
        }
    }
    return file;
}

} // namespace kadromir::encoder
