#include "formats/load_message.h"
#include "formats/spr_decoder.h"
#include "picture_encoder.h"

#include <gtest/gtest.h>

#include <random>

namespace kadromir {
namespace {

constexpr std::size_t Header = 17;

// A file of `size` bytes: palette codes 0x10..0x1F, the start byte, zero bytes, and
// `tail` as the last bytes of the file.
std::vector<std::uint8_t> SprFile(std::uint8_t start, const std::vector<std::uint8_t>& tail,
                                  std::size_t size = SprMinimumSize) {
    std::vector<std::uint8_t> file(size, 0x00);
    for (int i = 0; i < 16; ++i) {
        file[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(0x10 + i);
    }
    file[16] = start;
    std::copy(tail.begin(), tail.end(), file.end() - static_cast<std::ptrdiff_t>(tail.size()));
    return file;
}

const DecodedPicture& Accepted(const DecodeResult& result) {
    static const DecodedPicture none{};
    const auto* picture = std::get_if<DecodedPicture>(&result);
    EXPECT_NE(picture, nullptr);
    return picture ? *picture : none;
}

// The decoded output: the first `n` plane-buffer bytes, checked to be followed by
// zeros only.
std::vector<std::uint8_t> Output(const DecodeResult& result, std::size_t n) {
    const auto& planes = Accepted(result).Planes;
    for (std::size_t i = n; i < planes.size(); ++i) {
        EXPECT_EQ(planes[i], 0) << "byte " << i << " beyond the expected output";
    }
    return {planes.begin(), planes.begin() + static_cast<std::ptrdiff_t>(n)};
}

TEST(DecodeSpr, RejectsFilesShorterThan536Bytes) {
    for (const std::size_t size : {0u, 17u, 535u}) {
        const auto result = DecodeSpr(std::vector<std::uint8_t>(size, 0x83));
        ASSERT_TRUE(std::holds_alternative<Rejection>(result)) << size;
        EXPECT_EQ(std::get<Rejection>(result).Message, " - Неподходящий файл!");
    }
    EXPECT_TRUE(std::holds_alternative<DecodedPicture>(DecodeSpr(SprFile(0, {}))));
}

TEST(DecodeSpr, PaletteBorderAndMirroredOrderComeFromTheHeader) {
    const auto result = DecodeSpr(SprFile(0, {}));
    const auto& picture = Accepted(result);
    EXPECT_EQ(picture.Border, 0x10);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(picture.Palette[static_cast<std::size_t>(i)], 0x10 + i);
    }
    EXPECT_EQ(picture.Order, PlaneOrder::Mirrored);
    Output(result, 0); // start byte 0 and nothing non-zero from offset 19: nothing decoded
}

TEST(DecodeSpr, StartByteDecidesWhatTheLastByteIs) {
    // Non-zero start: 0x83 is the first control byte, the last byte its run value.
    EXPECT_EQ(Output(DecodeSpr(SprFile(0x83, {0x55})), 3),
              (std::vector<std::uint8_t>{0x55, 0x55, 0x55}));
    // Start 0: the last byte 0x55 is itself a literal control of 0x55 bytes.
    std::vector<std::uint8_t> tail(0x55);
    for (std::size_t i = 0; i < tail.size(); ++i) {
        tail[i] = static_cast<std::uint8_t>(0xA0 + i % 16);
    }
    tail.push_back(0x55);
    std::vector<std::uint8_t> expected(tail.rbegin() + 1, tail.rend());
    EXPECT_EQ(Output(DecodeSpr(SprFile(0, tail)), 0x55), expected);
}

TEST(DecodeSpr, TrailingZerosAreSkippedOnlyWithStartByteZero) {
    // Run token 0x82 'V' followed by zeros.
    EXPECT_EQ(Output(DecodeSpr(SprFile(0, {0x77, 0x82, 0, 0, 0, 0})), 2),
              (std::vector<std::uint8_t>{0x77, 0x77}));
    // Non-zero start 0x81: the last byte (a zero) is the value, then 0x00 controls
    // append nothing until the run 0x82 0x77.
    EXPECT_EQ(Output(DecodeSpr(SprFile(0x81, {0x77, 0x82, 0, 0, 0, 0})), 3),
              (std::vector<std::uint8_t>{0x00, 0x77, 0x77}));
}

TEST(DecodeSpr, TokensAtTheirLimits) {
    struct Case {
        const char* Name;
        std::vector<std::uint8_t> Tail;
        std::vector<std::uint8_t> Expected;
    };
    std::vector<std::uint8_t> literal128(128);
    for (std::size_t i = 0; i < 128; ++i) {
        literal128[i] = static_cast<std::uint8_t>(i + 1);
    }
    std::vector<std::uint8_t> literal128Tail(literal128.rbegin(), literal128.rend());
    literal128Tail.push_back(0x80);
    const Case cases[] = {
        {"run 0x81 appends once", {0x42, 0x81}, {0x42}},
        {"run 0xFF appends 127 times", {0x42, 0xFF}, std::vector<std::uint8_t>(127, 0x42)},
        {"literal 0x80 takes 128 bytes", literal128Tail, literal128},
        {"literal 0x01 takes one byte", {0x99, 0x01}, {0x99}},
        {"zero control appends nothing", {0x33, 0x81, 0x00, 0x44, 0x81}, {0x44, 0x33}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(Output(DecodeSpr(SprFile(0, c.Tail)), c.Expected.size()), c.Expected);
    }
}

TEST(DecodeSpr, ControlBytesAreTakenFromOffset19UpOnly) {
    // A file whose tokens sit right above the header: run 0x81 with its control at
    // offset 19 and value at 18 is decoded; then the byte at 17 would be the next
    // control, which lies too low.
    std::vector<std::uint8_t> file = SprFile(0, {}, SprMinimumSize);
    file[17] = 0x85; // would be a run of 5 if it were a control
    file[18] = 0x66;
    file[19] = 0x81;
    EXPECT_EQ(Output(DecodeSpr(file), 1), (std::vector<std::uint8_t>{0x66}));

    // A literal whose control is at 20 takes its payload down to offsets 17 and 18.
    file[20] = 0x03;
    file[19] = 0x01;
    file[18] = 0x02;
    file[17] = 0x03;
    EXPECT_EQ(Output(DecodeSpr(file), 3), (std::vector<std::uint8_t>{0x01, 0x02, 0x03}));

    // A control byte at 18 is never interpreted, even when all above it are zero.
    std::vector<std::uint8_t> low = SprFile(0, {}, SprMinimumSize);
    low[18] = 0x85;
    low[17] = 0x66;
    Output(DecodeSpr(low), 0);
}

TEST(DecodeSpr, LiteralReachingBelowTheFileStartKeepsWhatIsThereAndEnds) {
    // Control 0x80 at offset 19 asks for 128 payload bytes; only offsets 18 to 0 exist.
    std::vector<std::uint8_t> file = SprFile(0, {}, SprMinimumSize);
    file[19] = 0x80;
    file[18] = 0xEE;
    file[17] = 0xDD;
    // 19 bytes exist below the control (offsets 18 down to 0); all are kept.
    std::vector<std::uint8_t> expected;
    for (int offset = 18; offset >= 0; --offset) {
        expected.push_back(file[static_cast<std::size_t>(offset)]);
    }
    EXPECT_EQ(Output(DecodeSpr(file), expected.size()), expected);
}

TEST(DecodeSpr, OutputStopsAt32768Bytes) {
    // 300 runs of 127 bytes would give 38100; the last run that fits is cut.
    std::vector<std::uint8_t> tail;
    for (int i = 0; i < 300; ++i) {
        tail.push_back(static_cast<std::uint8_t>(i)); // value
        tail.push_back(0xFF);                         // control
    }
    // Tokens are read from the top, so the token nearest the end comes first.
    const auto result = DecodeSpr(SprFile(0, tail, 2000));
    const auto& planes = Accepted(result).Planes;
    for (std::size_t k = 0; k < planes.size(); ++k) {
        ASSERT_EQ(planes[k], static_cast<std::uint8_t>(299 - k / 127)) << k;
    }
}

TEST(DecodeSpr, EncodedPicturesDecodeToTheirPlanes) {
    std::mt19937 random(11);
    PlaneBuffer planes{};
    for (std::size_t i = 0; i < planes.size(); ++i) {
        // Mixed content: runs, literals, and bytes at the token boundaries.
        planes[i] = (i / 300) % 2 ? static_cast<std::uint8_t>(random())
                                  : static_cast<std::uint8_t>(i / 1000);
    }
    const std::array<ColourCode, 16> palette{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    const encoder::SprOptions variants[] = {{}, {.NonZeroStart = true}, {.TrailingZeros = 5000}};
    for (const auto& options : variants) {
        const auto result = DecodeSpr(encoder::EncodeSpr(palette, planes, options));
        EXPECT_EQ(Accepted(result).Planes, planes);
        EXPECT_EQ(Accepted(result).Palette, palette);
    }
}

} // namespace
} // namespace kadromir
