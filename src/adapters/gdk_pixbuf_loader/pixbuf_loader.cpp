// A GdkPixbuf loader for one of the three formats, so that GTK programs and the
// desktop's thumbnailers read it as the viewer does. Built once per format
// (KADROMIR_LOADER_FORMAT), because gdk-pixbuf does not tell a module which type it
// was opened for: a host that asks for RMB gets the RMB module, which knows RMB's
// rules only.
//
// As a guest in other programs it is stricter than the viewer:
// - a stream is kept only up to what the format can use, and a write past what any
//   such file holds fails, so the host stops reading;
// - the bytes are those of the handle or stream the host passes, never a file
//   reopened by name;
// - SCR reads its colours from the .pal beside the file, which a nameless stream
//   cannot give, so the SCR module reads named files only and declines streams (the
//   thumbnailer serves SCR to file managers);
// - errors use gdk-pixbuf's codes: UNKNOWN_TYPE for a file that is not ours,
//   CORRUPT_IMAGE for a damaged one, in plain English.
#define GDK_PIXBUF_ENABLE_BACKEND
#include <gdk-pixbuf/gdk-pixbuf-io.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
#undef GDK_PIXBUF_ENABLE_BACKEND

#include "base/bounded_bytes.h"
#include "formats/load_message.h"
#include "formats/picture_bytes.h"
#include "formats/picture_formats.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

using namespace kadromir;

constexpr PictureFormat Format = PictureFormat::KADROMIR_LOADER_FORMAT;

// A stream may run on past the bytes the format uses (the viewer ignores them in an
// RMB or SCR file), but only this far: then it is no picture of ours at all.
constexpr std::size_t IgnoredTailAllowance = std::size_t{512} << 10;

const PictureFormatRow& Row() {
    return RowOf(Format);
}

// What a stream may bring: a format that refuses longer files (SPR) stops at its limit.
std::uint64_t StreamLimit() {
    return Row().RefusesLongerFiles ? Row().ReadLimit : Row().ReadLimit + IgnoredTailAllowance;
}

struct HostError {
    std::string_view Rejection; // the viewer's text for the case, empty for none
    GdkPixbufError Code;
    const char* Message;
};
// The viewer's rejections in the host's terms.
constexpr std::array<HostError, 7> HostErrors{{
    {LoadMessages::SprUnsuitable, GDK_PIXBUF_ERROR_CORRUPT_IMAGE,
     "The file is too short or too long for an SPR picture."},
    {LoadMessages::ScrHeaderMismatch, GDK_PIXBUF_ERROR_UNKNOWN_TYPE,
     "The file is not an SCR picture: its signature is missing."},
    {LoadMessages::ScrReadError, GDK_PIXBUF_ERROR_FAILED, "The SCR file could not be read."},
    {LoadMessages::RmbHeaderMismatch, GDK_PIXBUF_ERROR_UNKNOWN_TYPE,
     "The file is not an RMB picture: its mark is missing."},
    {LoadMessages::RmbTooShort, GDK_PIXBUF_ERROR_CORRUPT_IMAGE, "The RMB picture is cut short."},
    {LoadMessages::RmbReadError, GDK_PIXBUF_ERROR_FAILED, "The RMB file could not be read."},
    // An SCR without its lead mark loads nothing and says nothing.
    {{}, GDK_PIXBUF_ERROR_UNKNOWN_TYPE, "The file is not an SCR picture."},
}};

void Fail(GError** error, GdkPixbufError code, const char* message) {
    g_set_error_literal(error, GDK_PIXBUF_ERROR, code, message);
}

void FailAsRejected(GError** error, const PictureState& picture) {
    for (const auto& entry : HostErrors) {
        if (entry.Rejection == picture.LoadMessage) {
            Fail(error, entry.Code, entry.Message);
            return;
        }
    }
    Fail(error, GDK_PIXBUF_ERROR_CORRUPT_IMAGE, "The picture could not be decoded.");
}

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

// The bytes decoded with the format's rules; a pixbuf, or nullptr with the error set.
GdkPixbuf* Decode(std::span<const std::uint8_t> bytes, const std::string& paletteName,
                  GError** error) {
    PictureState picture;
    if (LoadPictureBytes(Format, bytes, picture, paletteName) != LoadOutcome::Loaded) {
        FailAsRejected(error, picture);
        return nullptr;
    }
    GdkPixbuf* pixbuf = PixbufOf(picture);
    if (pixbuf == nullptr) {
        Fail(error, GDK_PIXBUF_ERROR_INSUFFICIENT_MEMORY, "No memory for the picture.");
    }
    return pixbuf;
}

// The name the handle was opened under, for an SCR's .pal; empty where there is none.
std::string NameOf(FILE* file) {
    if (Format != PictureFormat::Scr) {
        return {};
    }
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fileno(file));
    char path[PATH_MAX + 1];
    const ssize_t length = ::readlink(link, path, PATH_MAX);
    return length > 0 && path[0] == '/' ? std::string(path, static_cast<std::size_t>(length))
                                        : std::string();
}

// A whole file, from the handle the host opened.
GdkPixbuf* LoadFile(FILE* file, GError** error) {
    BoundedBytes bytes(ReadLimitOf(Format) + 1);
    const bool read = bytes.ReadFrom([file](std::uint8_t* into, std::size_t length) {
        const std::size_t got = std::fread(into, 1, length, file);
        return got == 0 && std::ferror(file) ? -1LL : static_cast<long long>(got);
    });
    if (!read) {
        Fail(error, GDK_PIXBUF_ERROR_FAILED, "The file could not be read.");
        return nullptr;
    }
    return Decode(bytes.Bytes(), NameOf(file), error);
}

// Bytes as they come, with no name.
struct Stream {
    GdkPixbufModuleSizeFunc Size;
    GdkPixbufModulePreparedFunc Prepared;
    GdkPixbufModuleUpdatedFunc Updated;
    gpointer User;
    BoundedBytes Bytes{ReadLimitOf(Format) + 1};
    bool Failed = false;
};

gpointer BeginLoad(GdkPixbufModuleSizeFunc size, GdkPixbufModulePreparedFunc prepared,
                   GdkPixbufModuleUpdatedFunc updated, gpointer user, GError**) {
    return new Stream{size, prepared, updated, user};
}

gboolean LoadIncrement(gpointer context, const guchar* data, guint size, GError** error) {
    auto* stream = static_cast<Stream*>(context);
    if (!stream->Bytes.Append({data, size})) {
        stream->Failed = true;
        Fail(error, GDK_PIXBUF_ERROR_INSUFFICIENT_MEMORY, "No memory for the picture.");
        return FALSE;
    }
    if (stream->Bytes.Offered() > StreamLimit()) {
        // Failing the write is what makes the host stop reading.
        stream->Failed = true;
        Fail(error, GDK_PIXBUF_ERROR_CORRUPT_IMAGE,
             Row().RefusesLongerFiles ? "The file is longer than any such picture."
                                      : "The file runs far past the end of the picture.");
        return FALSE;
    }
    return TRUE;
}

gboolean StopLoad(gpointer context, GError** error) {
    auto* stream = static_cast<Stream*>(context);
    GdkPixbuf* pixbuf = stream->Failed ? nullptr : Decode(stream->Bytes.Bytes(), {}, error);
    if (pixbuf != nullptr) {
        int width = FrameBitmap::Width;
        int height = FrameBitmap::Height;
        if (stream->Size != nullptr) {
            stream->Size(&width, &height, stream->User);
        }
        // A host that sets the size to 0 wants to know the size only.
        if (width != 0 && height != 0) {
            stream->Prepared(pixbuf, nullptr, stream->User);
            if (stream->Updated != nullptr) {
                stream->Updated(pixbuf, 0, 0, FrameBitmap::Width, FrameBitmap::Height,
                                stream->User);
            }
        }
        g_object_unref(pixbuf);
    }
    const bool failed = stream->Failed;
    delete stream;
    return !failed && pixbuf != nullptr;
}

} // namespace

extern "C" {

G_MODULE_EXPORT void fill_vtable(GdkPixbufModule* module) {
    module->load = LoadFile;
    if constexpr (Format != PictureFormat::Scr) {
        module->begin_load = BeginLoad;
        module->load_increment = LoadIncrement;
        module->stop_load = StopLoad;
    }
}

G_MODULE_EXPORT void fill_info(GdkPixbufFormat* info) {
    // The format's marks as a gdk-pixbuf pattern: the bytes to match at their offsets,
    // 'x' in the mask for any byte between (and a 'z' where a zero must stand, which
    // the prefix cannot hold). A format without marks is known by name alone.
    static std::string prefix;
    static std::string mask;
    for (const auto& mark : Row().Marks) {
        if (mark.Bytes.empty()) {
            continue;
        }
        prefix.resize(std::max(prefix.size(), mark.Offset), 'x');
        mask.resize(std::max(mask.size(), mark.Offset), 'x');
        for (std::size_t i = 0; i < mark.Bytes.size(); ++i) {
            const char byte = mark.Bytes[i];
            prefix.replace(mark.Offset + i, 1, 1, byte == '\0' ? 'x' : byte);
            mask.replace(mark.Offset + i, 1, 1, byte == '\0' ? 'z' : ' ');
        }
    }
    static GdkPixbufModulePattern signature[] = {
        {prefix.empty() ? nullptr : prefix.data(), prefix.empty() ? nullptr : mask.data(), 100},
        {nullptr, nullptr, 0}};
    static const std::string name = "kadromir-" + std::string(Row().Key);
    static const std::string mimeType(Row().MimeType);
    static const std::string extension(Row().Key);
    static const std::string description(Row().Description);
    static const gchar* mimeTypes[] = {mimeType.c_str(), nullptr};
    static const gchar* extensions[] = {extension.c_str(), nullptr};
    info->name = const_cast<gchar*>(name.c_str());
    info->signature = signature;
    info->description = const_cast<gchar*>(description.c_str());
    info->mime_types = const_cast<gchar**>(mimeTypes);
    info->extensions = const_cast<gchar**>(extensions);
    info->flags = GDK_PIXBUF_FORMAT_THREADSAFE;
    info->license = const_cast<gchar*>(KADROMIR_LICENSE);
}

} // extern "C"
