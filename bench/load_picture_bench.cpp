// LoadPicture per format on a realistic picture in the page cache, next to the floor:
// reading the same file and copying 32768 bytes.
#include "bench_main.h"

#include "base/file_system.h"
#include "formats/load_picture.h"
#include "formats/plane_conversion.h"
#include "formats/rmb_decoder.h"
#include "formats/scr_decoder.h"
#include "formats/spr_decoder.h"
#include "picture_encoder.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace kadromir::bench {
namespace {

// A picture with the mix real ones have: flat areas, gradients, dithering and fine
// detail, so every token kind of the packed formats occurs.
std::vector<std::uint8_t> RealisticIndices() {
    std::vector<std::uint8_t> pixels(65536);
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            int index;
            if (y < 80) {
                index = 9 + ((x + y) % 7 == 0); // sky with a light pattern
            } else if (std::hypot(x - 170, y - 150) < 50) {
                index = static_cast<int>(std::hypot(x - 170, y - 150) / 7) ^
                        ((x ^ y) & 1); // dithered ball
            } else if (y > 200) {
                index = (x * 7 + y * 13) % 16; // detailed ground
            } else {
                index = 2 + (y - 80) / 20; // bands
            }
            pixels[static_cast<std::size_t>(y * 256 + x)] = static_cast<std::uint8_t>(index & 15);
        }
    }
    return pixels;
}

struct Files {
    std::string Dir;
    std::string Spr, Scr, Rmb, ScrDefault;
    Files() {
        Dir = (std::filesystem::temp_directory_path() /
               ("kadromir-bench-" + std::to_string(::getpid())))
                  .string() +
              "/";
        std::filesystem::create_directories(Dir);
        const auto pixels = RealisticIndices();
        const auto mirrored = encoder::PlanesFromIndices(pixels, PlaneOrder::Mirrored);
        const auto straight = encoder::PlanesFromIndices(pixels, PlaneOrder::Straight);
        const std::array<ColourCode, 16> palette{0x00, 0x40, 0x10, 0x98, 0x06, 0x86, 0x16, 0x36,
                                                 0x52, 0xC5, 0xE8, 0xC0, 0x02, 0x98, 0x52, 0xAD};
        Spr = Write("picture.spr", encoder::EncodeSpr(palette, mirrored));
        Scr = Write("picture.scr", encoder::EncodeScr(mirrored));
        Write("picture.pal", encoder::EncodePal(palette));
        Rmb = Write("picture.rmb", encoder::EncodeRmb(palette, straight));
        ScrDefault = Write("nopalette.scr", encoder::EncodeScr(mirrored));
    }
    ~Files() {
        std::error_code ignored;
        std::filesystem::remove_all(Dir, ignored);
    }
    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        std::ofstream(Dir + name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return Dir + name;
    }
};

const Files& TheFiles() {
    static const Files files;
    return files;
}

const std::string& PathOf(int format) {
    const Files& f = TheFiles();
    switch (format) {
    case 0:
        return f.Spr;
    case 1:
        return f.Scr;
    case 2:
        return f.Rmb;
    default:
        return f.ScrDefault;
    }
}

void Floor(benchmark::State& state) {
    const std::string& path = PathOf(static_cast<int>(state.range(0)));
    std::vector<std::uint8_t> buffer(1 << 20);
    std::vector<std::uint8_t> copy(32768);
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        struct stat info {};
        ::fstat(fd, &info);
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        ::close(fd);
        std::memcpy(copy.data(), buffer.data(), 32768);
        benchmark::DoNotOptimize(got);
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
}

void Load(benchmark::State& state) {
    const std::string& path = PathOf(static_cast<int>(state.range(0)));
    PictureState picture;
    if (LoadPicture(path, picture) != LoadOutcome::Loaded) {
        state.SkipWithError("sample picture did not load");
        return;
    }
    for (auto _ : state) {
        LoadPicture(path, picture);
        benchmark::DoNotOptimize(picture.Bitmap.Row(0).data());
        benchmark::ClobberMemory();
    }
}

BENCHMARK(Floor)->Name("Floor_ReadFileAndCopy/SPR")->Arg(0);
BENCHMARK(Load)->Name("LoadPicture/SPR")->Arg(0);
BENCHMARK(Floor)->Name("Floor_ReadFileAndCopy/SCR")->Arg(1);
BENCHMARK(Load)->Name("LoadPicture/SCR")->Arg(1);
BENCHMARK(Floor)->Name("Floor_ReadFileAndCopy/RMB")->Arg(2);
BENCHMARK(Load)->Name("LoadPicture/RMB")->Arg(2);
// An SCR picture without a side file: one file to read, like the floor.
BENCHMARK(Floor)->Name("Floor_ReadFileAndCopy/SCR_NoPal")->Arg(3);
BENCHMARK(Load)->Name("LoadPicture/SCR_NoPal")->Arg(3);

const bool Registered = [] {
    const char* formats[] = {"SPR", "SCR", "RMB", "SCR_NoPal"};
    for (int i = 0; i < 4; ++i) {
        const std::string suffix = std::string(formats[i]) + "/" + std::to_string(i);
        Ratios().push_back({"LoadPicture/" + suffix, "Floor_ReadFileAndCopy/" + suffix, 4.0});
    }
    return true;
}();

} // namespace
} // namespace kadromir::bench

namespace kadromir::bench {
namespace {

// The parts of a load, to see where its time goes.
std::vector<std::uint8_t> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void DecodeOnly(benchmark::State& state) {
    const auto bytes = FileBytes(PathOf(static_cast<int>(state.range(0))));
    const auto decode = [&]() -> DecodeResult {
        switch (state.range(0)) {
        case 0:
            return DecodeSpr(bytes);
        case 1:
            return DecodeScr(bytes, std::nullopt);
        default:
            return DecodeRmb(bytes);
        }
    };
    for (auto _ : state) {
        DecodeResult result = decode();
        benchmark::DoNotOptimize(&result);
    }
}

void ConvertOnly(benchmark::State& state) {
    PlaneBuffer planes{};
    for (std::size_t i = 0; i < planes.size(); ++i) {
        planes[i] = static_cast<std::uint8_t>(i * 37);
    }
    FrameBitmap bitmap;
    for (auto _ : state) {
        ConvertPlanesMirrored(planes, bitmap);
        benchmark::DoNotOptimize(bitmap.Row(0).data());
        benchmark::ClobberMemory();
    }
}

BENCHMARK(DecodeOnly)->Name("Part_DecodeBytes")->DenseRange(0, 2);
BENCHMARK(ConvertOnly)->Name("Part_ConvertPlanes");

} // namespace
} // namespace kadromir::bench

namespace kadromir::bench {
namespace {

void ReadOnly(benchmark::State& state) {
    const std::string& path = PathOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto bytes = ReadFileBytes(path, SprMaximumSize);
        benchmark::DoNotOptimize(&bytes);
    }
}
BENCHMARK(ReadOnly)->Name("Part_ReadFileBytes")->DenseRange(0, 2);

} // namespace
} // namespace kadromir::bench
