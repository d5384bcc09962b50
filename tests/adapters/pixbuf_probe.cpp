// Reads a picture through GdkPixbuf, as GTK programs do, and writes its pixels to
// standard output as a binary PPM. `file PATH` opens it by name (gdk-pixbuf's whole-file
// path); `stream PATH` feeds its bytes to a loader in small pieces, as a program
// reading from a stream does. Exit 1 when gdk-pixbuf reports an error.
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: pixbuf_probe file|stream PATH\n", stderr);
        return 2;
    }
    GError* error = nullptr;
    GdkPixbuf* pixbuf = nullptr;
    if (std::strcmp(argv[1], "file") == 0) {
        pixbuf = gdk_pixbuf_new_from_file(argv[2], &error);
    } else {
        std::ifstream in(argv[2], std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        GdkPixbufLoader* loader = gdk_pixbuf_loader_new_with_type("kadromir", &error);
        bool ok = loader != nullptr;
        for (std::size_t at = 0; ok && at < bytes.size(); at += 1000) {
            const std::size_t piece = std::min<std::size_t>(1000, bytes.size() - at);
            ok = gdk_pixbuf_loader_write(loader, reinterpret_cast<const guchar*>(bytes.data() + at),
                                         piece, &error);
        }
        ok = loader != nullptr && gdk_pixbuf_loader_close(loader, ok ? &error : nullptr) && ok;
        if (ok && gdk_pixbuf_loader_get_pixbuf(loader) != nullptr) {
            pixbuf = GDK_PIXBUF(g_object_ref(gdk_pixbuf_loader_get_pixbuf(loader)));
        }
        if (loader != nullptr) {
            g_object_unref(loader);
        }
    }
    if (pixbuf == nullptr) {
        std::fprintf(stderr, "pixbuf_probe: %s\n", error ? error->message : "no picture");
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
