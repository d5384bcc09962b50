#include "formats/colour_code.h"
#include "formats/plane_conversion.h"
#include "formats/plane_conversion_paths.h"

#include <gtest/gtest.h>

#include <random>

namespace kadromir {
namespace {

struct Rgb {
    int Red, Green, Blue;
};

Rgb FromPaletteForm(std::uint32_t v) {
    return {int(v >> 16 & 0xFF), int(v >> 8 & 0xFF), int(v & 0xFF)};
}
Rgb FromBackgroundForm(std::uint32_t v) {
    return {int(v >> 16 & 0xFF), int(v >> 8 & 0xFF), int(v & 0xFF)};
}

TEST(ColourCodeTable, ExamplesInBothForms) {
    const struct {
        ColourCode Code;
        Rgb Colour;
    } cases[] = {
        {0x00, {0x00, 0x00, 0x00}}, {0xFF, {0xFF, 0xFF, 0xFF}}, {0x07, {0xFF, 0x00, 0x00}},
        {0x38, {0x00, 0xFF, 0x00}}, {0xC0, {0x00, 0x00, 0xFF}}, {0x40, {0x00, 0x00, 0x7F}},
        {0xAD, {0xBF, 0xBF, 0xBF}}, {0x52, {0x5C, 0x5C, 0x7F}}, {0x22, {0x5C, 0x9F, 0x00}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.Code));
        for (const Rgb got : {FromPaletteForm(ColourCodeTable::PaletteForm[c.Code]),
                              FromBackgroundForm(ColourCodeTable::BackgroundForm[c.Code])}) {
            EXPECT_EQ(got.Red, c.Colour.Red);
            EXPECT_EQ(got.Green, c.Colour.Green);
            EXPECT_EQ(got.Blue, c.Colour.Blue);
        }
    }
}

TEST(ColourCodeTable, EveryCodeFollowsTheDecimalScales) {
    const int eight[] = {0, 50, 92, 127, 159, 191, 223, 255};
    const int four[] = {0, 127, 191, 255};
    for (int code = 0; code < 256; ++code) {
        const Rgb got = FromPaletteForm(ColourCodeTable::PaletteForm[code]);
        EXPECT_EQ(got.Red, eight[code & 7]) << code;
        EXPECT_EQ(got.Green, eight[(code >> 3) & 7]) << code;
        EXPECT_EQ(got.Blue, four[code >> 6]) << code;
        EXPECT_EQ(ColourCodeTable::PaletteForm[code] >> 24, 0u);
        EXPECT_EQ(ColourCodeTable::BackgroundForm[code],
                  0xFF000000u | ColourCodeTable::PaletteForm[code]);
    }
}

// Every pixel computed one bit at a time, independently of the converters' tables.
int ExpectedIndex(const PlaneBuffer& planes, int x, int y, bool mirrored) {
    const int group = x / 8;
    const int column = mirrored ? 31 - group : group;
    int index = 0;
    for (int p = 0; p < 4; ++p) {
        const int byte = planes[static_cast<std::size_t>(p * 8192 + column * 256 + y)];
        index |= ((byte >> (7 - x % 8)) & 1) << p;
    }
    return index;
}

TEST(PlaneConversion, RandomPlanesMatchTheBitRuleInBothOrders) {
    std::mt19937 random(7);
    PlaneBuffer planes;
    for (auto& b : planes) {
        b = static_cast<std::uint8_t>(random());
    }
    using Converter = void (*)(const PlaneBuffer&, FrameBitmap&, bool);
    std::vector<std::pair<const char*, Converter>> paths{{"portable", &conversion::Portable}};
    if (conversion::Avx2Available()) {
        paths.emplace_back("avx2", &conversion::Avx2);
    }
    for (const auto& [name, convert] : paths) {
        for (const bool mirrored : {false, true}) {
            FrameBitmap bitmap;
            convert(planes, bitmap, mirrored);
            for (int y = 0; y < 256; ++y) {
                for (int x = 0; x < 256; ++x) {
                    ASSERT_EQ(bitmap.PixelIndex(x, y), ExpectedIndex(planes, x, y, mirrored))
                        << name << " x " << x << " y " << y << " mirrored " << mirrored;
                }
            }
        }
    }
}

struct SinglePixelCase {
    const char* Name;
    int Plane, Column, Row;
    std::uint8_t Byte;
    int StraightX, MirroredX, Y, Index;
};

TEST(PlaneConversion, SingleBitsLandWhereTheFormatSays) {
    const SinglePixelCase cases[] = {
        {"plane 3, column 0, row 0, bit 7", 3, 0, 0, 0x80, 0, 248, 0, 8},
        {"plane 0, column 31, row 255, bit 0", 0, 31, 255, 0x01, 255, 7, 255, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        PlaneBuffer planes{};
        planes[PlaneIndex(c.Plane, c.Column, c.Row)] = c.Byte;
        FrameBitmap straight, mirrored;
        ConvertPlanes(planes, straight);
        ConvertPlanesMirrored(planes, mirrored);
        for (int y = 0; y < 256; ++y) {
            for (int x = 0; x < 256; ++x) {
                ASSERT_EQ(straight.PixelIndex(x, y), (x == c.StraightX && y == c.Y) ? c.Index : 0);
                ASSERT_EQ(mirrored.PixelIndex(x, y), (x == c.MirroredX && y == c.Y) ? c.Index : 0);
            }
        }
    }
}

TEST(PlaneConversion, PlanesWeighTheirBitsAndBytesPackHighNibbleFirst) {
    PlaneBuffer planes{};
    planes[PlaneIndex(1, 0, 0)] = 0x40;
    planes[PlaneIndex(2, 0, 0)] = 0x40;
    FrameBitmap bitmap;
    ConvertPlanes(planes, bitmap);
    EXPECT_EQ(bitmap.Row(0)[0], 0x06); // pixel 0 in the high nibble, pixel 1 (index 6) low
    EXPECT_EQ(bitmap.PixelIndex(1, 0), 6);
}

TEST(PlaneConversion, EveryPixelIsRewrittenAndThePaletteLeftAlone) {
    FrameBitmap bitmap;
    bitmap.SetPaletteEntry(3, 0x07);
    PlaneBuffer ones;
    ones.fill(0xFF);
    ConvertPlanesMirrored(ones, bitmap);
    for (int y = 0; y < 256; ++y) {
        for (const auto byte : bitmap.Row(y)) {
            ASSERT_EQ(byte, 0xFF);
        }
    }
    ConvertPlanes(PlaneBuffer{}, bitmap);
    for (int y = 0; y < 256; ++y) {
        for (const auto byte : bitmap.Row(y)) {
            ASSERT_EQ(byte, 0x00);
        }
    }
    EXPECT_EQ(bitmap.PaletteEntry(3), 0xFF0000u);
}

} // namespace
} // namespace kadromir
