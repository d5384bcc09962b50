// A GdkPixbuf loader for the three formats, so that GTK programs and the desktop's
// thumbnailers read them as the viewer does. The C interface gdk-pixbuf asks of a
// module, over the viewer's own decoders.
#define GDK_PIXBUF_ENABLE_BACKEND
#include <gdk-pixbuf/gdk-pixbuf-io.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
#undef GDK_PIXBUF_ENABLE_BACKEND

#include "formats/load_picture.h"
#include "formats/picture_bytes.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace kadromir;

GdkPixbuf* PixbufOf(const PictureState& picture) {
    GdkPixbuf* pixbuf =
        gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, FrameBitmap::Width, FrameBitmap::Height);
    if (pixbuf == nullptr) {
        return nullptr;
    }
    const int stride = gdk_pixbuf_get_rowstride(pixbuf);
    guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
    for (int y = 0; y < FrameBitmap::Height; ++y) {
        guchar* out = pixels + static_cast<std::ptrdiff_t>(y) * stride;
        for (int x = 0; x < FrameBitmap::Width; ++x) {
            const std::uint32_t rgb = picture.Bitmap.PaletteEntry(picture.Bitmap.PixelIndex(x, y));
            *out++ = static_cast<guchar>(rgb >> 16);
            *out++ = static_cast<guchar>(rgb >> 8);
            *out++ = static_cast<guchar>(rgb);
        }
    }
    char border[3];
    std::snprintf(border, sizeof border, "%02X", picture.BorderColour);
    gdk_pixbuf_set_option(pixbuf, "tEXt::Border", border);
    return pixbuf;
}

void Fail(GError** error, const std::string& why) {
    g_set_error_literal(error, GDK_PIXBUF_ERROR, GDK_PIXBUF_ERROR_CORRUPT_IMAGE, why.c_str());
}

// A whole file: by its name, as the viewer reads it (SCR with its .pal).
GdkPixbuf* LoadFile(FILE* file, GError** error) {
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fileno(file));
    char path[PATH_MAX + 1];
    const ssize_t length = ::readlink(link, path, PATH_MAX);
    PictureState picture;
    if (length <= 0 || !FormatOfName(std::string(path, static_cast<std::size_t>(length)))) {
        Fail(error, "no .spr, .scr or .rmb file");
        return nullptr;
    }
    if (LoadPicture(std::string(path, static_cast<std::size_t>(length)), picture) !=
        LoadOutcome::Loaded) {
        Fail(error, picture.LoadMessage.empty() ? "not a picture" : picture.LoadMessage);
        return nullptr;
    }
    return PixbufOf(picture);
}

// Bytes as they come, with no name: the format from the content's marks, else SPR,
// the one format without a mark; an SCR then has the default palette.
struct Stream {
    GdkPixbufModuleSizeFunc Size;
    GdkPixbufModulePreparedFunc Prepared;
    GdkPixbufModuleUpdatedFunc Updated;
    gpointer User;
    std::vector<std::uint8_t> Bytes;
};

gpointer BeginLoad(GdkPixbufModuleSizeFunc size, GdkPixbufModulePreparedFunc prepared,
                   GdkPixbufModuleUpdatedFunc updated, gpointer user, GError**) {
    return new Stream{size, prepared, updated, user, {}};
}

gboolean LoadIncrement(gpointer context, const guchar* data, guint size, GError**) {
    auto* stream = static_cast<Stream*>(context);
    // Kept only up to the most any format can use, and one byte more to know a file
    // is larger.
    const std::size_t keep = ReadLimitOf(PictureFormat::Spr) + 1;
    const std::size_t room = keep - std::min(stream->Bytes.size(), keep);
    stream->Bytes.insert(stream->Bytes.end(), data, data + std::min<std::size_t>(size, room));
    return TRUE;
}

gboolean StopLoad(gpointer context, GError** error) {
    auto* stream = static_cast<Stream*>(context);
    const std::span<const std::uint8_t> bytes(stream->Bytes);
    const PictureFormat format = FormatOfContent(bytes).value_or(PictureFormat::Spr);
    PictureState picture;
    const bool loaded = LoadPictureBytes(format, bytes, picture) == LoadOutcome::Loaded;
    GdkPixbuf* pixbuf = loaded ? PixbufOf(picture) : nullptr;
    if (pixbuf == nullptr) {
        Fail(error, picture.LoadMessage.empty() ? "not a picture" : picture.LoadMessage);
    } else {
        int width = FrameBitmap::Width;
        int height = FrameBitmap::Height;
        if (stream->Size != nullptr) {
            stream->Size(&width, &height, stream->User);
        }
        if (width != 0 && height != 0) {
            stream->Prepared(pixbuf, nullptr, stream->User);
            if (stream->Updated != nullptr) {
                stream->Updated(pixbuf, 0, 0, FrameBitmap::Width, FrameBitmap::Height,
                                stream->User);
            }
        }
        g_object_unref(pixbuf);
    }
    delete stream;
    return pixbuf != nullptr;
}

} // namespace

extern "C" {

G_MODULE_EXPORT void fill_vtable(GdkPixbufModule* module) {
    module->load = LoadFile;
    module->begin_load = BeginLoad;
    module->load_increment = LoadIncrement;
    module->stop_load = StopLoad;
}

G_MODULE_EXPORT void fill_info(GdkPixbufFormat* info) {
    // SCR: the lead mark 0xFF 0x7F and the signature at 5; RMB: 0x20 0x00 0x0F at 16
    // ('z' matches the zero byte the prefix cannot hold). SPR has no mark.
    static GdkPixbufModulePattern signature[] = {
        {const_cast<char*>("\xff\x7fxxxT.288-31-25"), const_cast<char*>("  xxx           "), 100},
        {const_cast<char*>("xxxxxxxxxxxxxxxx x\x0f"), const_cast<char*>("xxxxxxxxxxxxxxxx z "), 80},
        {nullptr, nullptr, 0}};
    static const gchar* mimeTypes[] = {"image/x-kadromir-spr", "image/x-kadromir-scr",
                                       "image/x-kadromir-rmb", nullptr};
    static const gchar* extensions[] = {"spr", "scr", "rmb", nullptr};
    info->name = const_cast<gchar*>("kadromir");
    info->signature = signature;
    info->description = const_cast<gchar*>("SPR, SCR and RMB pictures (256 × 256, 16 colours)");
    info->mime_types = const_cast<gchar**>(mimeTypes);
    info->extensions = const_cast<gchar**>(extensions);
    info->flags = GDK_PIXBUF_FORMAT_THREADSAFE;
    info->license = const_cast<gchar*>("");
}

} // extern "C"
