// kadromir-samples DIR: writes a few sample pictures of every format into DIR (made if
// missing), for trying the viewer and the converter without any pictures of one's own.
#include "picture_encoder.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using namespace kadromir;
using Indices = std::vector<std::uint8_t>;

template <typename Shade> Indices Paint(Shade shade) {
    Indices pixels(65536);
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            pixels[static_cast<std::size_t>(y * 256 + x)] =
                static_cast<std::uint8_t>(shade(x, y) & 15);
        }
    }
    return pixels;
}

bool Write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 || argv[1][0] == '\0') {
        std::fputs("usage: kadromir-samples DIR\n", stderr);
        return 1;
    }
    std::string dir = argv[1];
    // The directory is made as needed, as a user asking for samples there expects.
    std::error_code ignored;
    std::filesystem::create_directories(dir, ignored);
    if (dir.back() != '/') {
        dir += '/';
    }
    const std::array<ColourCode, 16> warm{0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07,
                                          0x0F, 0x17, 0x1F, 0x27, 0x2F, 0x37, 0x3F, 0xFF};
    const std::array<ColourCode, 16> cool{0x40, 0x80, 0xC0, 0xC8, 0xD0, 0xD8, 0xE0, 0xE8,
                                          0xF0, 0xF8, 0x38, 0x30, 0x28, 0x20, 0x18, 0xAD};
    const ScrPalette sea{0x48, 0x88, 0xC8, 0xD0, 0xD8, 0xE0, 0xF0, 0xF8,
                         0x10, 0x18, 0x20, 0x36, 0x3F, 0x7F, 0xBF, 0xFF};

    const Indices rings =
        Paint([](int x, int y) { return static_cast<int>(std::hypot(x - 128, y - 128) / 9); });
    const Indices checker =
        Paint([](int x, int y) { return ((x / 32 + y / 32) % 2) * 15 ^ (y / 16); });
    const Indices waves = Paint([](int x, int y) {
        return y < 96 ? 15 - y / 16 : static_cast<int>(8 + 4 * std::sin(x / 12.0 + y / 9.0));
    });
    const Indices diagonal = Paint([](int x, int y) { return (x + y) / 32; });
    const Indices bands = Paint([](int x, int) { return x / 16; });

    bool ok = true;
    ok &= Write(dir + "rings.spr",
                encoder::EncodeSpr(warm, encoder::PlanesFromIndices(rings, PlaneOrder::Mirrored)));
    ok &= Write(dir + "checker.spr",
                encoder::EncodeSpr(cool, encoder::PlanesFromIndices(checker, PlaneOrder::Mirrored),
                                   {.NonZeroStart = true}));
    ok &= Write(dir + "waves.scr",
                encoder::EncodeScr(encoder::PlanesFromIndices(waves, PlaneOrder::Mirrored)));
    ok &= Write(dir + "waves.pal", encoder::EncodePal(sea));
    ok &= Write(dir + "diagonal.scr",
                encoder::EncodeScr(encoder::PlanesFromIndices(diagonal, PlaneOrder::Mirrored)));
    ok &= Write(dir + "bands.rmb",
                encoder::EncodeRmb(cool, encoder::PlanesFromIndices(bands, PlaneOrder::Straight)));
    if (!ok) {
        std::fprintf(stderr, "kadromir-samples: cannot write into %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
