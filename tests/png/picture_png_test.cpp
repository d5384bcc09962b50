// The PNG both ways: every picture our decoders accept comes back byte for byte through
// each of the three formats, and a PNG that is no picture of ours is refused with a
// message that names what is wrong.
#include "formats/picture_bytes.h"
#include "formats/picture_writers.h"
#include "formats/rmb_decoder.h"
#include "formats/scr_decoder.h"
#include "formats/spr_decoder.h"
#include "picture_encoder.h"
#include "png/picture_png.h"

#include <gtest/gtest.h>
#include <spng.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace kadromir {
namespace {

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::span<const std::uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The picture a file of the format gives; an SCR takes `pal` (the default when none).
std::optional<PictureState> Decode(PictureFormat format, std::span<const std::uint8_t> file,
                                   const std::optional<ScrPalette>& pal = std::nullopt) {
    const DecodeResult result = format == PictureFormat::Spr   ? DecodeSpr(file)
                                : format == PictureFormat::Scr ? DecodeScr(file, pal)
                                                               : DecodeRmb(file);
    PictureState picture;
    if (ApplyDecodeResult(result, picture) != LoadOutcome::Loaded) {
        return std::nullopt;
    }
    return picture;
}

// PNG -> each format -> PNG must give the first PNG's bytes again.
void ExpectRoundTrips(const PictureState& picture) {
    const std::string png = EncodePicturePng(picture);
    ASSERT_FALSE(png.empty());
    const auto read = ReadPicturePng(Bytes(png));
    ASSERT_TRUE(std::holds_alternative<PngPicture>(read)) << std::get<PngRefusal>(read).Message;
    const PngPicture& codes = std::get<PngPicture>(read);
    EXPECT_EQ(codes.Palette[0], picture.BorderColour) << "the border is palette entry 0";
    const std::optional<ScrPalette> pal = codes.Palette == DefaultScrPalette
                                              ? std::nullopt
                                              : std::optional<ScrPalette>(codes.Palette);
    const struct {
        PictureFormat Format;
        std::vector<std::uint8_t> File;
    } files[] = {{PictureFormat::Spr, WriteSpr(codes.Palette, codes.Indices)},
                 {PictureFormat::Scr, WriteScr(codes.Indices)},
                 {PictureFormat::Rmb, WriteRmb(codes.Palette, codes.Indices)}};
    for (const auto& file : files) {
        SCOPED_TRACE(static_cast<int>(file.Format));
        const auto back = Decode(file.Format, file.File, pal);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->Bitmap, picture.Bitmap);
        EXPECT_EQ(back->BorderColour, picture.BorderColour);
        EXPECT_EQ(EncodePicturePng(*back), png);
    }
}

TEST(PicturePng, PicturesOfOurEncodersComeBackExactly) {
    std::mt19937 random(11);
    for (int round = 0; round < 6; ++round) {
        SCOPED_TRACE(round);
        PlaneBuffer planes{};
        for (std::size_t i = 0; i < planes.size(); ++i) {
            // Noise, runs and stripes, so every token of every format is used.
            planes[i] = round % 3 == 0   ? static_cast<std::uint8_t>(random())
                        : round % 3 == 1 ? static_cast<std::uint8_t>((i / 37) * 13)
                                         : static_cast<std::uint8_t>(i % 7 == 0 ? 0xFE : 0x00);
        }
        std::array<ColourCode, 16> palette{};
        for (auto& code : palette) {
            // Duplicates too: indices must survive them.
            code = static_cast<ColourCode>(random() % (round == 5 ? 3 : 256));
        }
        PictureState picture;
        ASSERT_EQ(
            LoadPictureBytes(PictureFormat::Spr, encoder::EncodeSpr(palette, planes), picture),
            LoadOutcome::Loaded);
        ExpectRoundTrips(picture);
        PictureState scr; // the default palette
        ASSERT_EQ(LoadPictureBytes(PictureFormat::Scr, encoder::EncodeScr(planes), scr),
                  LoadOutcome::Loaded);
        ExpectRoundTrips(scr);
    }
}

// The SPR writer writes the shortest token stream. Pictures whose shortest stream is
// known by hand: one colour (runs of 127), pairs of equal bytes throughout (a pair is a
// run token of two bytes, no longer than what it carries; a literal would cost one byte
// more in every 128) and bytes that never repeat (literals of 128). Each file: 16
// palette bytes, the start byte, two bytes of padding, the stream.
TEST(PicturePng, SprIsWrittenAsTheShortestTokenStream) {
    const struct {
        const char* What;
        std::function<std::uint8_t(std::size_t)> Plane;
        std::size_t FileSize;
    } cases[] = {
        {"one colour", [](std::size_t) { return std::uint8_t{0}; }, 17 + 2 + 259 * 2},
        {"pairs", [](std::size_t i) { return static_cast<std::uint8_t>(i / 2 % 2 ? 0x22 : 0x11); },
         17 + 2 + 32768},
        {"no repeats", [](std::size_t i) { return static_cast<std::uint8_t>(i * 7); },
         17 + 2 + 256 * 129},
    };
    std::array<ColourCode, 16> palette{};
    for (std::size_t i = 0; i < 16; ++i) {
        palette[i] = static_cast<ColourCode>(0x40 + i);
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        PlaneBuffer planes{};
        for (std::size_t i = 0; i < planes.size(); ++i) {
            planes[i] = c.Plane(i);
        }
        const auto picture = Decode(PictureFormat::Spr, encoder::EncodeSpr(palette, planes));
        ASSERT_TRUE(picture);
        const auto written = WriteSpr(palette, PictureIndices(picture->Bitmap, 256));
        EXPECT_EQ(written.size(), c.FileSize);
        const auto back = Decode(PictureFormat::Spr, written);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->Bitmap, picture->Bitmap);
    }
}

// The seed pictures, and damaged copies of them that the decoders still accept.
TEST(PicturePng, DamagedButAcceptedPicturesComeBackExactly) {
    std::mt19937 random(5);
    int accepted = 0;
    for (const auto& entry : std::filesystem::directory_iterator(KADROMIR_PICTURE_SEEDS)) {
        const auto format = FormatOfName(entry.path().string());
        if (!format) {
            continue;
        }
        const std::vector<std::uint8_t> seed = ReadAll(entry.path());
        for (int variant = 0; variant < 20; ++variant) {
            SCOPED_TRACE(entry.path().filename().string() + " variant " + std::to_string(variant));
            std::vector<std::uint8_t> file = seed;
            if (variant % 2 == 1) {
                file.resize(file.size() * static_cast<std::size_t>(variant) / 20);
            }
            for (int flip = 0; flip < variant && !file.empty(); ++flip) {
                file[random() % file.size()] ^= static_cast<std::uint8_t>(1 + random() % 255);
            }
            PictureState picture;
            if (LoadPictureBytes(*format, file, picture) == LoadOutcome::Loaded) {
                ++accepted;
                ExpectRoundTrips(picture);
            }
        }
    }
    EXPECT_GT(accepted, 40);
}

// The PNG of an encoder whose header is set, from its rows as PNG packs them; the
// encoder is freed.
std::string Encoded(spng_ctx* png, std::vector<std::uint8_t>& pixels) {
    spng_encode_image(png, pixels.data(), pixels.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE);
    std::size_t length = 0;
    int error = 0;
    void* bytes = spng_get_png_buffer(png, &length, &error);
    std::string result(static_cast<const char*>(bytes), length);
    std::free(bytes);
    spng_ctx_free(png);
    return result;
}

// A PNG made here: width x height, 8-bit RGB (or 16-bit), pixels from `colour`.
std::string MakePng(std::uint32_t width, std::uint32_t height, int depth,
                    const std::function<std::uint32_t(std::uint32_t, std::uint32_t)>& colour) {
    spng_ctx* png = spng_ctx_new(SPNG_CTX_ENCODER);
    spng_set_option(png, SPNG_ENCODE_TO_BUFFER, 1);
    spng_ihdr header{width, height, static_cast<std::uint8_t>(depth), SPNG_COLOR_TYPE_TRUECOLOR, 0,
                     0,     0};
    spng_set_ihdr(png, &header);
    const std::size_t sample = depth / 8;
    std::vector<std::uint8_t> pixels(std::size_t{width} * height * 3 * sample);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint32_t rgb = colour(x, y);
            for (std::size_t c = 0; c < 3; ++c) {
                const auto value = static_cast<std::uint8_t>(rgb >> (16 - 8 * c));
                for (std::size_t b = 0; b < sample; ++b) {
                    pixels[((std::size_t{y} * width + x) * 3 + c) * sample + b] = value;
                }
            }
        }
    }
    return Encoded(png, pixels);
}

std::uint32_t Code(int code) {
    return ColourCodeTable::PaletteForm[static_cast<std::size_t>(code)];
}

// A palette PNG made here, as image editors save 16-colour pictures: `depth` bits per
// pixel (1, 2, 4 or 8), the palette's colours, and each pixel's index.
std::string MakePalettePng(int depth, const std::vector<std::uint32_t>& colours,
                           const std::function<int(std::uint32_t, std::uint32_t)>& index) {
    spng_ctx* png = spng_ctx_new(SPNG_CTX_ENCODER);
    spng_set_option(png, SPNG_ENCODE_TO_BUFFER, 1);
    spng_ihdr header{256, 256, static_cast<std::uint8_t>(depth), SPNG_COLOR_TYPE_INDEXED, 0, 0, 0};
    spng_set_ihdr(png, &header);
    spng_plte palette{};
    palette.n_entries = static_cast<std::uint32_t>(colours.size());
    for (std::size_t i = 0; i < colours.size(); ++i) {
        palette.entries[i] = {static_cast<std::uint8_t>(colours[i] >> 16),
                              static_cast<std::uint8_t>(colours[i] >> 8),
                              static_cast<std::uint8_t>(colours[i]), 0};
    }
    spng_set_plte(png, &palette);
    // Rows packed as PNG packs them: the leftmost pixel in the highest bits of its byte.
    const std::size_t stride = 256 * static_cast<std::size_t>(depth) / 8;
    std::vector<std::uint8_t> pixels(stride * 256, 0);
    for (std::uint32_t y = 0; y < 256; ++y) {
        for (std::uint32_t x = 0; x < 256; ++x) {
            const std::size_t bit = std::size_t{x} * static_cast<std::size_t>(depth);
            const int shift = 8 - depth - static_cast<int>(bit % 8);
            pixels[y * stride + bit / 8] |= static_cast<std::uint8_t>(index(x, y) << shift);
        }
    }
    return Encoded(png, pixels);
}

// The first `count` code colours of a palette that is easy to tell apart.
std::vector<std::uint32_t> CodeColours(int count) {
    std::vector<std::uint32_t> colours;
    for (int i = 0; i < count; ++i) {
        colours.push_back(Code(i * 17 % 256));
    }
    return colours;
}

TEST(PicturePng, RefusalsNameWhatIsWrong) {
    const std::string good = MakePng(256, 256, 8, [](auto x, auto) { return Code(x % 16); });
    std::string truncated = good.substr(0, good.size() / 2);
    // A header that declares 100000 x 100000 pixels: refused before any pixel is read.
    std::string bomb = MakePng(256, 256, 8, [](auto, auto) { return Code(0); });
    bomb[16] = 0x00, bomb[17] = 0x01, bomb[18] = static_cast<char>(0x86),
    bomb[19] = static_cast<char>(0xA0);
    bomb[20] = 0x00, bomb[21] = 0x01, bomb[22] = static_cast<char>(0x86),
    bomb[23] = static_cast<char>(0xA0);
    const struct {
        const char* What;
        std::string Png;
        bool Nearest;
        std::string Named;
    } cases[] = {
        {"wrong size", MakePng(255, 256, 8, [](auto, auto) { return Code(0); }), false,
         "this one is 255 x 256"},
        {"17 colours", MakePng(256, 256, 8, [](auto x, auto) { return Code(x % 17); }), false,
         "17 distinct colours"},
        {"a colour that is no code colour",
         MakePng(256, 256, 8,
                 [](auto x, auto y) { return x == 7 && y == 3 ? 0x123456u : Code(1); }),
         false, "pixel 7,3 has the colour #123456"},
        {"16 bits per sample", MakePng(256, 256, 16, [](auto, auto) { return Code(0); }), false,
         "16 bits"},
        {"truncated", truncated, false, "cannot be read"},
        {"a declared size far too large", bomb, false, "256 x 256"},
        {"not a PNG", std::string(100, 'x'), false, "not a PNG"},
        {"17 colours after --nearest",
         MakePng(256, 256, 8, [](auto x, auto) { return Code(x % 17 * 9); }), true,
         "17 distinct colours after --nearest"},
        // One past the palette's last entry, where a decoder might read entry 0.
        {"an 8-bit palette pixel past the palette",
         MakePalettePng(8, CodeColours(5), [](auto x, auto y) { return x == 9 && y == 2 ? 5 : 1; }),
         false, "pixel 9,2 uses palette entry 5, beyond the palette"},
        {"a 4-bit palette pixel past the palette",
         MakePalettePng(4, CodeColours(5), [](auto x, auto y) { return x == 8 && y == 4 ? 5 : 0; }),
         false, "pixel 8,4 uses palette entry 5, beyond the palette"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        const auto read = ReadPicturePng(Bytes(c.Png), c.Nearest);
        ASSERT_TRUE(std::holds_alternative<PngRefusal>(read));
        EXPECT_NE(std::get<PngRefusal>(read).Message.find(c.Named), std::string::npos)
            << std::get<PngRefusal>(read).Message;
    }
    EXPECT_TRUE(std::holds_alternative<PngPicture>(ReadPicturePng(Bytes(good))));
}

// Palette PNGs at every depth an editor saves keep their palette and every pixel's
// index: the leftmost pixel of a byte is its highest bits.
TEST(PicturePng, PalettePngsKeepPaletteAndIndicesAtEveryDepth) {
    for (const int depth : {1, 2, 4, 8}) {
        SCOPED_TRACE(depth);
        const int entries = std::min(16, 1 << depth);
        // No two neighbours alike, and rows that differ: a swap or a shift shows.
        const auto index = [entries](std::uint32_t x, std::uint32_t y) {
            return static_cast<int>((x + x / 3 + 5 * y) % static_cast<std::uint32_t>(entries));
        };
        const auto read = ReadPicturePng(Bytes(MakePalettePng(depth, CodeColours(entries), index)));
        ASSERT_TRUE(std::holds_alternative<PngPicture>(read)) << std::get<PngRefusal>(read).Message;
        const PngPicture& picture = std::get<PngPicture>(read);
        for (int i = 0; i < entries; ++i) {
            EXPECT_EQ(picture.Palette[static_cast<std::size_t>(i)], i * 17 % 256);
        }
        std::vector<std::uint8_t> expected;
        for (std::uint32_t y = 0; y < 256; ++y) {
            for (std::uint32_t x = 0; x < 256; ++x) {
                expected.push_back(static_cast<std::uint8_t>(index(x, y)));
            }
        }
        EXPECT_EQ(picture.Indices, expected);
    }
}

TEST(PicturePng, NearestTakesEachColourToTheClosestCodeColour) {
    // Off by a little from four code colours, in the order the rows show them.
    const std::string png = MakePng(256, 256, 8, [](auto x, auto) {
        const std::uint32_t colours[] = {0xFC0000, 0x00FD00, 0x0000FE, 0x010101};
        return colours[x / 64];
    });
    EXPECT_TRUE(std::holds_alternative<PngRefusal>(ReadPicturePng(Bytes(png))));
    const auto read = ReadPicturePng(Bytes(png), true);
    ASSERT_TRUE(std::holds_alternative<PngPicture>(read));
    const auto& picture = std::get<PngPicture>(read);
    EXPECT_EQ((std::vector<int>(picture.Palette.begin(), picture.Palette.begin() + 4)),
              (std::vector<int>{0x07, 0x38, 0xC0, 0x00}));
    EXPECT_EQ(picture.Indices[70], 1);
    EXPECT_EQ(picture.Indices[255 + 256 * 9], 3);
}

} // namespace
} // namespace kadromir
