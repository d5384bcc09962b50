#include "formats/rmb_decoder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace kadromir {
namespace {

std::vector<std::uint8_t> RmbFile(std::size_t size, std::uint8_t lastMarkByte = 0x0F) {
    std::vector<std::uint8_t> file(size, 0x00);
    for (std::size_t i = 0; i < 16 && i < size; ++i) {
        file[i] = static_cast<std::uint8_t>(i);
    }
    if (size >= 19) {
        file[16] = 0x20;
        file[17] = 0x00;
        file[18] = lastMarkByte;
    }
    return file;
}

std::string_view RejectionText(const DecodeResult& result) {
    const auto* rejection = std::get_if<Rejection>(&result);
    return rejection ? rejection->Message : std::string_view("(accepted)");
}

TEST(DecodeRmb, MarkThenSize) {
    const struct {
        const char* Name;
        std::vector<std::uint8_t> File;
        std::string_view Expected;
    } cases[] = {
        {"100 bytes with a wrong mark", RmbFile(100, 0x0E), "-Несоответствие в заголовке!"},
        {"too short to hold the mark", RmbFile(18), "-Несоответствие в заголовке!"},
        {"wrong mark on a full file", RmbFile(32787, 0x0E), "-Несоответствие в заголовке!"},
        {"right mark, 32785 bytes", RmbFile(32785), "-Размер файла меньше требуемого!"},
        {"right mark, 19 bytes", RmbFile(19), "-Размер файла меньше требуемого!"},
        {"32786 bytes", RmbFile(32786), "(accepted)"},
        {"32787 bytes", RmbFile(32787), "(accepted)"},
        {"longer", RmbFile(40000), "(accepted)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RejectionText(DecodeRmb(c.File)), c.Expected) << c.Name;
    }
}

TEST(DecodeRmb, ReversedPaletteAndBorder) {
    const auto picture = std::get<DecodedPicture>(DecodeRmb(RmbFile(32787)));
    EXPECT_EQ(picture.Border, 0x0F);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(picture.Palette[static_cast<std::size_t>(i)], 15 - i);
    }
    EXPECT_EQ(picture.Order, PlaneOrder::Straight);
}

TEST(DecodeRmb, RowsBecomeColumnsWithoutMirroring) {
    const struct {
        std::size_t Offset;
        std::uint8_t Byte;
        int Plane, Column, Row;
    } cases[] = {
        {19 + 32, 0x80, 0, 0, 1},  // plane 0, row 1, column 0
        {19 + 31, 0x01, 0, 31, 0}, // plane 0, row 0, column 31
        {19 + 3 * 8192 + 255 * 32 + 30, 0x5A, 3, 30, 255},
    };
    for (const auto& c : cases) {
        auto file = RmbFile(32787);
        file[c.Offset] = c.Byte;
        const auto picture = std::get<DecodedPicture>(DecodeRmb(file));
        PlaneBuffer expected{};
        expected[PlaneIndex(c.Plane, c.Column, c.Row)] = c.Byte;
        EXPECT_EQ(picture.Planes, expected) << c.Offset;
    }
    // The last plane byte of a 32786-byte file is missing and reads 0; the extra
    // bytes of a longer file are ignored.
    auto shortFile = RmbFile(32786);
    shortFile[32785] = 0xFF;
    auto shortPicture = std::get<DecodedPicture>(DecodeRmb(shortFile));
    EXPECT_EQ(shortPicture.Planes[PlaneIndex(3, 30, 255)], 0xFF);
    EXPECT_EQ(shortPicture.Planes[PlaneIndex(3, 31, 255)], 0x00);
    auto longer = RmbFile(32800);
    std::fill(longer.begin() + 32787, longer.end(), 0xFF);
    EXPECT_EQ(std::get<DecodedPicture>(DecodeRmb(longer)).Planes, PlaneBuffer{});
}

// The reader takes all of a 32,787-byte file: its last byte is the last plane byte.
TEST(DecodeRmbFile, ReadsTheFileToItsLastPlaneByte) {
    test_support::TempDir dir;
    auto file = RmbFile(32787);
    file.back() = 0xA5;
    auto shorter = file;
    shorter.pop_back();
    const auto whole = std::get<DecodedPicture>(DecodeRmb(file)).Planes;
    ASSERT_NE(whole, std::get<DecodedPicture>(DecodeRmb(shorter)).Planes); // the byte matters
    file.push_back(0x5A); // beyond the planes: never read
    EXPECT_EQ(std::get<DecodedPicture>(DecodeRmbFile(dir.Write("last.rmb", file))).Planes, whole);
}

TEST(DecodeRmbFile, ReportsUnreadableFiles) {
    test_support::TempDir dir;
    EXPECT_EQ(RejectionText(DecodeRmbFile(dir.MakeDirectory("folder.rmb"))),
              "-Ошибка чтения файла!");
    EXPECT_EQ(RejectionText(DecodeRmbFile(dir.Write("ok.rmb", RmbFile(32787)))), "(accepted)");
}

} // namespace
} // namespace kadromir
