// Reads a picture through GdkPixbuf, as GTK programs do, and writes its pixels to
// standard output as a binary PPM.
//   file PATH          gdk-pixbuf's whole-file path, by name
//   stream TYPE PATH   the bytes fed to a loader opened for the MIME type TYPE ("-":
//                      none, gdk-pixbuf guesses from the content), in pieces of random
//                      sizes up to 64 KiB, read as they go so that a file of any length
//                      can be fed
//   info PATH          the name of the format gdk-pixbuf takes the file for
// On stderr: Border=CODE for a picture; for an error, its code and message, and how
// many bytes a stream had been fed when it ended. Exit 1 when gdk-pixbuf reports an
// error.
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

namespace {

GdkPixbuf* Stream(const char* type, const char* path, GError** error, unsigned long long& fed) {
    std::FILE* in = std::fopen(path, "rb");
    if (in == nullptr) {
        g_set_error_literal(error, G_FILE_ERROR, G_FILE_ERROR_NOENT, "cannot open");
        return nullptr;
    }
    GdkPixbufLoader* loader = std::strcmp(type, "-") == 0
                                  ? gdk_pixbuf_loader_new()
                                  : gdk_pixbuf_loader_new_with_mime_type(type, error);
    bool ok = loader != nullptr;
    std::mt19937 random(7);
    std::vector<guchar> piece(65536);
    while (ok) {
        const std::size_t want = 1 + random() % piece.size();
        const std::size_t got = std::fread(piece.data(), 1, want, in);
        if (got == 0) {
            break;
        }
        ok = gdk_pixbuf_loader_write(loader, piece.data(), got, error);
        fed += got;
    }
    std::fclose(in);
    // A loader closed after a failed write must not add a second error.
    ok = loader != nullptr && gdk_pixbuf_loader_close(loader, ok ? error : nullptr) && ok;
    GdkPixbuf* pixbuf = nullptr;
    if (ok && gdk_pixbuf_loader_get_pixbuf(loader) != nullptr) {
        pixbuf = GDK_PIXBUF(g_object_ref(gdk_pixbuf_loader_get_pixbuf(loader)));
    }
    if (loader != nullptr) {
        g_object_unref(loader);
    }
    return pixbuf;
}

} // namespace

int main(int argc, char** argv) {
    GError* error = nullptr;
    GdkPixbuf* pixbuf = nullptr;
    unsigned long long fed = 0;
    if (argc == 3 && std::strcmp(argv[1], "info") == 0) {
        GdkPixbufFormat* format = gdk_pixbuf_get_file_info(argv[2], nullptr, nullptr);
        if (format == nullptr) {
            return 1;
        }
        gchar* name = gdk_pixbuf_format_get_name(format);
        std::printf("%s\n", name);
        g_free(name);
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "file") == 0) {
        pixbuf = gdk_pixbuf_new_from_file(argv[2], &error);
    } else if (argc == 4 && std::strcmp(argv[1], "stream") == 0) {
        pixbuf = Stream(argv[2], argv[3], &error, fed);
    } else {
        std::fputs("usage: pixbuf_probe file PATH | stream TYPE|- PATH | info PATH\n", stderr);
        return 2;
    }
    if (pixbuf == nullptr) {
        std::fprintf(stderr, "error code=%d fed=%llu: %s\n", error ? error->code : -1, fed,
                     error ? error->message : "no picture");
        if (error != nullptr) {
            g_error_free(error);
        }
        return 1;
    }
    const int width = gdk_pixbuf_get_width(pixbuf);
    const int height = gdk_pixbuf_get_height(pixbuf);
    const int channels = gdk_pixbuf_get_n_channels(pixbuf);
    const int stride = gdk_pixbuf_get_rowstride(pixbuf);
    const guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
    std::printf("P6\n%d %d\n255\n", width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::fwrite(pixels + y * stride + x * channels, 1, 3, stdout);
        }
    }
    const char* border = gdk_pixbuf_get_option(pixbuf, "tEXt::Border");
    std::fprintf(stderr, "Border=%s\n", border ? border : "");
    g_object_unref(pixbuf);
    return 0;
}
