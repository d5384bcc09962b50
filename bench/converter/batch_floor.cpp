// The floor of a batch conversion: in one process and one thread, read each picture,
// decode it and deflate its pixel indices, writing nothing. Prints the seconds taken.
// Usage: kadromir_batch_floor PICTURE...
#include "formats/load_picture.h"
#include "png/picture_png.h"

#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    const auto start = std::chrono::steady_clock::now();
    std::size_t deflated = 0;
    std::vector<Bytef> out(compressBound(65536));
    for (int i = 1; i < argc; ++i) {
        kadromir::PictureState picture;
        if (kadromir::LoadPicture(argv[i], picture) != kadromir::LoadOutcome::Loaded) {
            std::fprintf(stderr, "%s: not loaded\n", argv[i]);
            return 1;
        }
        const auto indices = kadromir::PictureIndices(picture.Bitmap, 256);
        uLongf size = static_cast<uLongf>(out.size());
        compress2(out.data(), &size, indices.data(), static_cast<uLong>(indices.size()), 9);
        deflated += size;
    }
    const std::chrono::duration<double> taken = std::chrono::steady_clock::now() - start;
    std::printf("%.3f %zu\n", taken.count(), deflated);
    return 0;
}
