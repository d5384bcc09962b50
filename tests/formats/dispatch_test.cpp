#include "base/path_rules.h"
#include "formats/load_picture.h"
#include "formats/picture_bytes.h"
#include "formats/scr_decoder.h"
#include "picture_encoder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace kadromir {
namespace {

using encoder::EncodeRmb;
using encoder::EncodeScr;
using encoder::EncodeSpr;

std::array<ColourCode, 16> Palette(ColourCode first) {
    std::array<ColourCode, 16> palette{};
    for (std::size_t i = 0; i < 16; ++i) {
        palette[i] = static_cast<ColourCode>(first + i);
    }
    return palette;
}

PlaneBuffer Filled(std::uint8_t value) {
    PlaneBuffer planes;
    planes.fill(value);
    return planes;
}

TEST(PathRules, PartsOfAPath) {
    const struct {
        const char* Path;
        const char* Directory;
        const char* Name;
        const char* Extension;
    } cases[] = {
        {"/pics/cat.spr", "/pics/", "cat.spr", ".spr"},
        {"cat.spr", "", "cat.spr", ".spr"},
        {"/a.b/pic", "/a.b/", "pic", ".b/pic"},
        {"/pics/", "/pics/", "", ""},
        {"/pics/x.spr.bak", "/pics/", "x.spr.bak", ".bak"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DirectoryPart(c.Path), c.Directory) << c.Path;
        EXPECT_EQ(FileNamePart(c.Path), c.Name) << c.Path;
        EXPECT_EQ(ExtensionPart(c.Path), c.Extension) << c.Path;
    }
    EXPECT_EQ(AsciiUpper("a.Spr\xD0\xB0z"), "A.SPR\xD0\xB0Z"); // only a-z change
}

TEST(LoadPicture, ExtensionSelectsTheDecoder) {
    test_support::TempDir dir;
    const auto spr = EncodeSpr(Palette(0x20), Filled(0x00));
    const auto scr = EncodeScr(Filled(0x00));
    const auto rmb = EncodeRmb(Palette(0x20), Filled(0x00));
    const struct {
        const char* Name;
        const std::vector<std::uint8_t>* Bytes;
        bool Loads;
    } cases[] = {
        {"pic.spr", &spr, true}, {"PIC2.SPR", &spr, true}, {"Pic3.Spr", &spr, true},
        {"pic.scr", &scr, true}, {"pic.Rmb", &rmb, true},  {"pic.spr.bak", &spr, false},
        {"pic", &spr, false},    {"pic.sp", &spr, false},  {"pic.png", &spr, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        PictureState state;
        state.BorderColour = 0x99;
        state.LoadMessage = "old";
        const auto outcome = LoadPicture(dir.Write(c.Name, *c.Bytes), state);
        EXPECT_EQ(outcome, c.Loads ? LoadOutcome::Loaded : LoadOutcome::NothingLoaded);
        EXPECT_EQ(state.LoadMessage, "");
        EXPECT_EQ(state.BorderColour != 0x99, c.Loads);
    }
    // A dotted directory and a dotless file name: ".b/pic" matches nothing.
    dir.MakeDirectory("a.spr");
    PictureState state;
    EXPECT_EQ(LoadPicture(dir.Write("a.spr/pic", spr), state), LoadOutcome::NothingLoaded);
}

TEST(LoadPicture, RejectionKeepsThePictureAndTheNextLoadClearsTheText) {
    test_support::TempDir dir;
    PlaneBuffer planes{};
    planes[PlaneIndex(0, 0, 0)] = 0x80;
    const auto good = dir.Write("good.rmb", EncodeRmb(Palette(0x30), planes));
    const struct {
        const char* Name;
        std::vector<std::uint8_t> Bytes;
        const char* Message;
    } rejected[] = {
        {"short.spr", std::vector<std::uint8_t>(535, 1), " - Неподходящий файл!"},
        {"bad.rmb", std::vector<std::uint8_t>(100, 0), "-Несоответствие в заголовке!"},
        {"short.rmb",
         std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x20, 0x00,
                                   0x0F},
         "-Размер файла меньше требуемого!"},
        {"lowercase.scr",
         [] {
             auto f = EncodeScr(PlaneBuffer{});
             f[5] = 't';
             return f;
         }(),
         "- Несоответствие в заголовке!"},
        {"nolead.scr",
         [] {
             auto f = EncodeScr(PlaneBuffer{});
             f[1] = 0x7E;
             return f;
         }(),
         ""},
    };
    for (const auto& r : rejected) {
        SCOPED_TRACE(r.Name);
        PictureState state;
        ASSERT_EQ(LoadPicture(good, state), LoadOutcome::Loaded);
        const PictureState before = state;
        LoadPicture(dir.Write(r.Name, r.Bytes), state);
        EXPECT_EQ(state.LoadMessage, r.Message);
        EXPECT_EQ(state.Bitmap, before.Bitmap);
        EXPECT_EQ(state.BorderColour, before.BorderColour);
        LoadPicture(good, state);
        EXPECT_EQ(state.LoadMessage, "");
    }
}

TEST(LoadPicture, ASecondLoadReplacesEverythingEvenWithBlack) {
    test_support::TempDir dir;
    PictureState state;
    LoadPicture(dir.Write("bright.spr", EncodeSpr(Palette(0xF0), Filled(0xFF))), state);
    EXPECT_EQ(state.BorderColour, 0xF0);
    EXPECT_EQ(state.Bitmap.PixelIndex(17, 200), 15);
    LoadPicture(dir.Write("black.spr", EncodeSpr(std::array<ColourCode, 16>{}, Filled(0x00))),
                state);
    EXPECT_EQ(state.Bitmap, FrameBitmap{});
    EXPECT_EQ(state.BorderColour, 0x00);
}

TEST(LoadPicture, SprRunsThroughTheMirroredConverter) {
    test_support::TempDir dir;
    PlaneBuffer planes{};
    planes[PlaneIndex(3, 0, 0)] = 0x80; // column 0 is the rightmost group for SPR
    PictureState state;
    LoadPicture(dir.Write("one.spr", EncodeSpr(Palette(0), planes)), state);
    EXPECT_EQ(state.Bitmap.PixelIndex(248, 0), 8);
    EXPECT_EQ(state.Bitmap.PixelIndex(0, 0), 0);
    EXPECT_EQ(state.Bitmap.PaletteEntry(8), ColourCodeTable::PaletteForm[8]);
}

} // namespace
} // namespace kadromir

namespace kadromir {
namespace {

TEST(PictureBytes, FormatByMarksByNameAndTheReadLimits) {
    auto scr = encoder::EncodeScr(PlaneBuffer{});
    auto rmb = encoder::EncodeRmb({}, PlaneBuffer{});
    auto noSignature = scr;
    noSignature[15] = 'X'; // the signature's last character
    const struct {
        const char* What;
        std::vector<std::uint8_t> Head;
        std::optional<PictureFormat> Format;
    } cases[] = {
        {"SCR", scr, PictureFormat::Scr},
        // Its three bytes at 16 also open 32-bit TGA files: RMB is known by name only.
        {"RMB", rmb, std::nullopt},
        {"SCR lead mark without its signature", noSignature, std::nullopt},
        {"SCR cut inside the signature", {scr.begin(), scr.begin() + 15}, std::nullopt},
        {"nothing", {}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        EXPECT_EQ(FormatOfContent(c.Head), c.Format);
    }
    EXPECT_EQ(FormatOfName("/a.b/pic.Spr"), PictureFormat::Spr);
    EXPECT_EQ(FormatOfName("pic.RMB"), PictureFormat::Rmb);
    EXPECT_EQ(FormatOfName("/a.scr/pic"), std::nullopt);
    // Past the read limit: an SPR is refused whole, the others keep their picture.
    for (const auto format : {PictureFormat::Spr, PictureFormat::Scr, PictureFormat::Rmb}) {
        SCOPED_TRACE(static_cast<int>(format));
        std::vector<std::uint8_t> file =
            format == PictureFormat::Spr   ? encoder::EncodeSpr(Palette(0x20), Filled(0x5A))
            : format == PictureFormat::Scr ? scr
                                           : encoder::EncodeRmb(Palette(0x20), Filled(0x5A));
        PictureState fitting;
        ASSERT_EQ(LoadPictureBytes(format, file, fitting), LoadOutcome::Loaded);
        const std::size_t limit = ReadLimitOf(format);
        const std::size_t original = file.size();
        // Zero padding after an SPR's stream is skipped, so the same picture up to the limit.
        file.resize(limit, 0x00);
        PictureState atLimit;
        EXPECT_EQ(LoadPictureBytes(format, file, atLimit), LoadOutcome::Loaded) << original;
        EXPECT_EQ(atLimit.Bitmap, fitting.Bitmap);
        file.push_back(0x00);
        PictureState over;
        const LoadOutcome outcome = LoadPictureBytes(format, file, over);
        if (format == PictureFormat::Spr) {
            EXPECT_EQ(outcome, LoadOutcome::Rejected);
        } else {
            EXPECT_EQ(outcome, LoadOutcome::Loaded);
            EXPECT_EQ(over.Bitmap, fitting.Bitmap);
        }
    }
    // Bytes alone: an SCR takes the default palette; with the name they were read
    // under, the side file of that name, and only that file.
    PictureState state;
    ASSERT_EQ(LoadPictureBytes(PictureFormat::Scr, scr, state), LoadOutcome::Loaded);
    EXPECT_EQ(state.BorderColour, DefaultScrBorder);
    test_support::TempDir dir;
    std::array<ColourCode, 16> palette{};
    palette[0] = 0x07;
    dir.Write("named.pal", encoder::EncodePal(palette));
    dir.Write("named.scr", encoder::EncodeScr(Filled(0xFF)));
    ASSERT_EQ(LoadPictureBytes(PictureFormat::Scr, scr, state, dir.Path() + "named.scr"),
              LoadOutcome::Loaded);
    EXPECT_EQ(state.BorderColour, 0x07);
    EXPECT_EQ(state.Bitmap.PixelIndex(0, 0), 0) << "the pixels are the bytes', not the file's";
}

} // namespace
} // namespace kadromir
