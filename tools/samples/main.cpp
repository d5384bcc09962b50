// kadromir-samples DIR: writes a few sample pictures of every format into DIR (made if
// missing), for trying the viewer and the converter without any pictures of one's own.
#include "picture_encoder.h"

#include "base/file_system.h"
#include "base/file_writer.h"
#include "base/version.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
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

constexpr std::string_view Usage =
    "usage: kadromir-samples [--] DIR\n"
    "Writes sample pictures of every format into DIR, made if missing: rings.spr,\n"
    "checker.spr, waves.scr with waves.pal, diagonal.scr, bands.rmb. A file of the same\n"
    "name with other contents is kept, and the exit is then 1. --version prints the\n"
    "version.\n";

void Error(const std::string& text) {
    std::fputs(("kadromir-samples: " + text + "\n").c_str(), stderr);
}

// Writes the sample unless a file of that name holds something else; false when the
// file is not as written.
bool Write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    const std::string_view contents(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (ExistsAsFile(path) || std::filesystem::is_symlink(path)) {
        const auto there = ReadFileBytes(path, bytes.size() + 1);
        const bool same =
            there && std::string_view(reinterpret_cast<const char*>(there->Bytes().data()),
                                      there->size()) == contents;
        if (!same) {
            Error(path + ": a file of that name is there; kept, no sample written");
        }
        return same;
    }
    if (const int error = WriteFileReplacing(path, contents); error != 0) {
        Error(path + ": cannot be written: " + std::strerror(error));
        return false;
    }
    return true;
}

// The directory named on the command line, or the exit code of --help, --version or a
// usage error.
std::optional<int> Parse(int argc, char** argv, std::string& dir) {
    bool optionsEnded = false;
    std::vector<std::string> operands;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            operands.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            std::fputs(Usage.data(), stdout);
            return 0;
        } else if (arg == "--version") {
            std::printf("kadromir-samples %s\n", ProjectVersion);
            return 0;
        } else {
            Error("unknown option '" + arg +
                  "'; a directory whose name starts with - goes after -- (see --help)");
            return 1;
        }
    }
    if (operands.size() != 1 || operands.front().empty()) {
        Error(operands.empty()           ? std::string("no DIR given (see --help)")
              : operands.front().empty() ? std::string("an empty DIR names no folder")
                                         : "one DIR only, but '" + operands[1] + "' is a second");
        return 1;
    }
    dir = operands.front();
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv) {
    std::string dir;
    if (const auto exit = Parse(argc, argv, dir)) {
        return *exit;
    }
    // The directory is made as needed, as a user asking for samples there expects.
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) {
        Error(dir + ": cannot be made: " + error.message());
        return 1;
    }
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
    return ok ? 0 : 1;
}
