#include "formats/scr_decoder.h"
#include "picture_encoder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kadromir {
namespace {

constexpr std::uint8_t A = 0xF1, B = 0xF2, C = 0xF3, D = 0x5D;

// A header with markers A, B, C and pair byte D, followed by `stream` (in file
// order, lowest offset first); E points at the stream's last byte unless given.
std::vector<std::uint8_t> ScrFile(const std::vector<std::uint8_t>& stream, int end = -1) {
    std::vector<std::uint8_t> file(64, 0x00);
    file[0] = 0xFF;
    file[1] = 0x7F;
    const int e = end >= 0 ? end : static_cast<int>(stream.size()) - 1;
    file[2] = static_cast<std::uint8_t>(e & 0xFF);
    file[3] = static_cast<std::uint8_t>(e >> 8);
    file[4] = D;
    std::memcpy(file.data() + 5, "T.288-31-25", 11);
    file[16] = A;
    file[32] = B;
    file[48] = C;
    file.resize(64 + stream.size());
    std::copy(stream.begin(), stream.end(), file.begin() + 64);
    return file;
}

std::vector<std::uint8_t> Output(const DecodeResult& result, std::size_t n) {
    const auto* picture = std::get_if<DecodedPicture>(&result);
    if (picture == nullptr) {
        ADD_FAILURE() << "not accepted";
        return {};
    }
    for (std::size_t i = n; i < picture->Planes.size(); ++i) {
        EXPECT_EQ(picture->Planes[i], 0) << "byte " << i << " beyond the expected output";
    }
    return {picture->Planes.begin(), picture->Planes.begin() + static_cast<std::ptrdiff_t>(n)};
}

TEST(DecodeScr, HeaderChecksInOrder) {
    auto wrongLead = ScrFile({0x01});
    wrongLead[1] = 0x7E;
    auto lowerT = ScrFile({0x01});
    lowerT[5] = 't';
    auto shortWithLead = ScrFile({});
    shortWithLead.resize(63);
    auto lastCharacter = ScrFile({0x01});
    lastCharacter[15] = '6'; // "T.288-31-26"

    EXPECT_TRUE(std::holds_alternative<NothingLoaded>(DecodeScr(wrongLead, std::nullopt)));
    EXPECT_TRUE(std::holds_alternative<NothingLoaded>(DecodeScr({}, std::nullopt)));
    EXPECT_TRUE(std::holds_alternative<NothingLoaded>(
        DecodeScr(std::vector<std::uint8_t>{0xFF}, std::nullopt)));
    for (const auto& file : {lowerT, shortWithLead, lastCharacter}) {
        const auto result = DecodeScr(file, std::nullopt);
        ASSERT_TRUE(std::holds_alternative<Rejection>(result));
        EXPECT_EQ(std::get<Rejection>(result).Message, "- Несоответствие в заголовке!");
    }
}

TEST(DecodeScr, TokensReadDownwardsFromTheEnd) {
    struct Case {
        const char* Name;
        std::vector<std::uint8_t> Stream; // file order
        std::vector<std::uint8_t> Expected;
    };
    const Case cases[] = {
        {"literals below 0x80 and unmatched high bytes", {0x01, 0x90, 0x7F}, {0x7F, 0x90, 0x01}},
        {"marker A is a pair of D", {A}, {D, D}},
        {"marker B: the byte below, three times", {0x55, B}, {0x55, 0x55, 0x55}},
        {"marker C: count, then value", {0xAA, 0x04, C}, {0xAA, 0xAA, 0xAA, 0xAA}},
        {"marker C with a count of 1", {0xAA, 0x01, C}, {0xAA}},
        {"marker C with a count of 0 appends nothing and goes on", {0x11, 0xAA, 0x00, C}, {0x11}},
        {"a marker's value may itself equal a marker", {A, B}, {A, A, A}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(Output(DecodeScr(ScrFile(c.Stream), std::nullopt), c.Expected.size()),
                  c.Expected);
    }
}

TEST(DecodeScr, MarkersMatchOnlyHighBytesAndInTheOrderABC) {
    // Marker A set to a literal value never matches; equal A and B act as A.
    auto file = ScrFile({0x10, A});
    file[16] = 0x10;
    file[32] = 0x10;
    EXPECT_EQ(Output(DecodeScr(file, std::nullopt), 2), (std::vector<std::uint8_t>{A, 0x10}));
    // 0x80 is the first byte tested against the markers.
    auto lowest = ScrFile({0x80});
    lowest[16] = 0x80;
    EXPECT_EQ(Output(DecodeScr(lowest, std::nullopt), 2), (std::vector<std::uint8_t>{D, D}));
    auto same = ScrFile({0x55, B});
    same[16] = B; // A == B: the byte is a pair, 0x55 a literal
    EXPECT_EQ(Output(DecodeScr(same, std::nullopt), 3), (std::vector<std::uint8_t>{D, D, 0x55}));
}

TEST(DecodeScr, StreamBoundsAndTheHeader) {
    // E = 0: only the byte at offset 64, however long the file.
    EXPECT_EQ(Output(DecodeScr(ScrFile({0x21, 0x22, 0x23}, 0), std::nullopt), 1),
              (std::vector<std::uint8_t>{0x21}));
    // A triple at offset 64 takes its value from offset 63 (header, unused, here 0x3C).
    auto intoHeader = ScrFile({B});
    intoHeader[63] = 0x3C;
    EXPECT_EQ(Output(DecodeScr(intoHeader, std::nullopt), 3),
              (std::vector<std::uint8_t>{0x3C, 0x3C, 0x3C}));
    // E beyond the file: decoding starts at the last byte.
    EXPECT_EQ(Output(DecodeScr(ScrFile({0x01, 0x02}, 5000), std::nullopt), 2),
              (std::vector<std::uint8_t>{0x02, 0x01}));
    // Exactly the header: accepted, nothing decoded.
    const auto bare = DecodeScr(ScrFile({}, 100), std::nullopt);
    EXPECT_EQ(Output(bare, 0), std::vector<std::uint8_t>{});
}

TEST(DecodeScr, OutputStopsAt32768EvenInLongFiles) {
    // 40000 literal bytes: a file longer than the plane buffer decodes like any other,
    // from its top, and stops when the buffer is full.
    std::vector<std::uint8_t> stream(40000);
    for (std::size_t i = 0; i < stream.size(); ++i) {
        stream[i] = static_cast<std::uint8_t>(i % 127);
    }
    const auto result = DecodeScr(ScrFile(stream), std::nullopt);
    const auto& planes = std::get<DecodedPicture>(result).Planes;
    for (std::size_t k = 0; k < planes.size(); ++k) {
        ASSERT_EQ(planes[k], stream[stream.size() - 1 - k]) << k;
    }
    // A run that overflows is cut at the buffer's end.
    std::vector<std::uint8_t> runs;
    for (int i = 0; i < 130; ++i) {
        runs.insert(runs.end(), {static_cast<std::uint8_t>(i % 100), 255, C});
    }
    const auto cut = DecodeScr(ScrFile(runs), std::nullopt);
    EXPECT_EQ(std::get<DecodedPicture>(cut).Planes.back(), 129 - 32767 / 255);
}

TEST(DecodeScr, ColoursFromSideFileOrDefault) {
    const auto file = ScrFile({0x01});
    const auto withDefault = std::get<DecodedPicture>(DecodeScr(file, std::nullopt));
    EXPECT_EQ(withDefault.Border, 0x40);
    const ScrPalette expected{0x40, 0x80, 0x10, 0xD0, 0x06, 0x86, 0x16, 0x36,
                              0x00, 0xC5, 0x22, 0xC0, 0x02, 0x98, 0x52, 0xAD};
    EXPECT_EQ(withDefault.Palette, expected);
    EXPECT_EQ(withDefault.Order, PlaneOrder::Mirrored);
    const ScrPalette side{9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 10, 11, 12, 13, 14, 15};
    const auto withSide = std::get<DecodedPicture>(DecodeScr(file, side));
    EXPECT_EQ(withSide.Border, 9);
    EXPECT_EQ(withSide.Palette, side);
}

TEST(PaletteSideFile, NameFromDirectoryAndNameWithoutExtension) {
    EXPECT_EQ(PaletteSideFile("/pics/game.scr"), "/pics/game.pal");
    EXPECT_EQ(PaletteSideFile("/pics/a.b.SCR"), "/pics/a.b.pal");
    EXPECT_EQ(PaletteSideFile("game.scr"), "game.pal");
    EXPECT_EQ(PaletteSideFile("/d.x/game.scr"), "/d.x/game.pal");
}

TEST(PaletteSideFile, LookupTakesSixteenBytesOrNothing) {
    test_support::TempDir dir;
    const std::vector<std::uint8_t> longer{0x07, 1,  2,  3,  4,  5,  6,  7,   8,
                                           9,    10, 11, 12, 13, 14, 15, 0xEE};
    dir.Write("long.pal", longer);
    dir.Write("short.pal", {1, 2, 3});
    dir.MakeDirectory("folder.pal");

    const auto found = ReadScrPalette(dir.Path() + "long.scr");
    ASSERT_TRUE(found);
    EXPECT_EQ((*found)[0], 0x07);
    EXPECT_EQ((*found)[15], 15);
    EXPECT_FALSE(ReadScrPalette(dir.Path() + "short.scr"));
    EXPECT_FALSE(ReadScrPalette(dir.Path() + "folder.scr"));
    EXPECT_FALSE(ReadScrPalette(dir.Path() + "missing.scr"));
}

// Pictures from DOS and Windows disks: the side file is found whatever its case; one
// of exactly the picture's name wins; a directory of that name counts as absent.
TEST(PaletteSideFile, FoundWithoutRegardToCase) {
#ifdef _WIN32
    GTEST_SKIP()
        << "the file system itself ignores letter case: GAME.PAL and game.PAL are one file";
#endif
    const auto palette = [](std::uint8_t first) {
        return std::vector<std::uint8_t>{first, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    };
    const struct {
        const char* What;
        const char* Picture;
        std::vector<std::pair<const char*, std::uint8_t>> Palettes; // name, first code
        std::vector<const char*> Directories;
        std::optional<std::uint8_t> First;
    } cases[] = {
        {"exact", "GAME.SCR", {{"GAME.pal", 0x07}}, {}, 0x07},
        {"upper case", "GAME.SCR", {{"GAME.PAL", 0x38}}, {}, 0x38},
        {"lower case", "GAME.SCR", {{"game.pal", 0x38}}, {}, 0x38},
        {"mixed case", "Game.Scr", {{"GAME.Pal", 0x38}}, {}, 0x38},
        {"Cyrillic name", "ИГРА.SCR", {{"игра.PAL", 0x38}}, {}, 0x38},
        {"exact wins over another case",
         "GAME.SCR",
         {{"GAME.PAL", 0x38}, {"GAME.pal", 0x07}},
         {},
         0x07},
        {"of two other cases, the first in byte order",
         "GAME.SCR",
         {{"game.pal", 0x38}, {"GAME.PAL", 0x07}},
         {},
         0x07},
        {"a directory in another case is passed over",
         "GAME.SCR",
         {{"game.PAL", 0x38}},
         {"GAME.PAL"},
         0x38},
        {"an exact directory counts as absent",
         "GAME.SCR",
         {{"GAME.PAL", 0x38}},
         {"GAME.pal"},
         0x38},
        {"another name", "GAME.SCR", {{"GAMES.PAL", 0x38}}, {}, std::nullopt},
        {"none", "GAME.SCR", {}, {"game.pal"}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        test_support::TempDir dir;
        for (const auto& [name, first] : c.Palettes) {
            dir.Write(name, palette(first));
        }
        for (const char* name : c.Directories) {
            dir.MakeDirectory(name);
        }
        const auto found = ReadScrPalette(dir.Path() + c.Picture);
        ASSERT_EQ(found.has_value(), c.First.has_value());
        if (found) {
            EXPECT_EQ((*found)[0], *c.First);
        }
    }
}

TEST(DecodeScrFile, UsesTheSideFileAndReportsUnreadableFiles) {
    test_support::TempDir dir;
    const PlaneBuffer planes{};
    const auto path = dir.Write("pic.scr", encoder::EncodeScr(planes));
    EXPECT_EQ(std::get<DecodedPicture>(DecodeScrFile(path)).Border, 0x40);
    dir.Write("pic.pal", {0x07, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
    EXPECT_EQ(std::get<DecodedPicture>(DecodeScrFile(path)).Border, 0x07);

    const auto unreadable = DecodeScrFile(dir.MakeDirectory("folder.scr"));
    ASSERT_TRUE(std::holds_alternative<Rejection>(unreadable));
    EXPECT_EQ(std::get<Rejection>(unreadable).Message, "- Ошибка чтения файла!");
}

// The reader takes the file up to the stream's highest possible byte, 64 + 0xFFFF.
TEST(DecodeScrFile, ReadsUpToTheHighestByteTheStreamCanUse) {
    test_support::TempDir dir;
    std::vector<std::uint8_t> stream(0x10000, 0x01);
    stream[0xFFFF] = 0x42; // the first token
    stream[0xFFFE] = 0x43;
    auto file = ScrFile(stream, 0xFFFF);
    file.push_back(0x44); // beyond the stream: never read
    const auto path = dir.Write("top.scr", file);
    const auto result = DecodeScrFile(path);
    const auto& planes = std::get<DecodedPicture>(result).Planes;
    EXPECT_EQ(planes[0], 0x42);
    EXPECT_EQ(planes[1], 0x43);
}

TEST(DecodeScr, EncodedPicturesDecodeToTheirPlanes) {
    PlaneBuffer planes{};
    for (std::size_t i = 0; i < planes.size(); ++i) {
        // Runs of every length, pairs of D, and bytes equal to the markers.
        const std::size_t block = i / 97;
        planes[i] = block % 3 == 0 ? static_cast<std::uint8_t>(0xF0 + i % 7)
                                   : static_cast<std::uint8_t>(block % 3 == 1 ? 0x00 : i * 31 / 7);
    }
    const encoder::ScrOptions options{
        .PairByte = 0x00, .MarkerA = 0xF1, .MarkerB = 0xF2, .MarkerC = 0xF3};
    EXPECT_EQ(std::get<DecodedPicture>(DecodeScr(encoder::EncodeScr(planes, options), std::nullopt))
                  .Planes,
              planes);
}

} // namespace
} // namespace kadromir
