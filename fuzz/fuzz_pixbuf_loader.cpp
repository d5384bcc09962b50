// The GdkPixbuf loader's stream path, as hosts feed it: the input in pieces of sizes
// taken from its first byte. A picture comes out exactly when the format's decoder
// accepts the whole input, and only the prepared picture is handed over.
#define GDK_PIXBUF_ENABLE_BACKEND
#include <gdk-pixbuf/gdk-pixbuf-io.h>
#undef GDK_PIXBUF_ENABLE_BACKEND

#include "formats/picture_bytes.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" void fill_vtable(GdkPixbufModule* module);

namespace {

int prepared = 0;

void Prepared(GdkPixbuf* pixbuf, GdkPixbufAnimation*, gpointer) {
    if (gdk_pixbuf_get_width(pixbuf) != 256 || gdk_pixbuf_get_height(pixbuf) != 256) {
        std::abort();
    }
    ++prepared;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    GdkPixbufModule module{};
    fill_vtable(&module);
    const std::size_t step = 1 + data[0] * 37u;
    const std::span<const std::uint8_t> picture(data + 1, size - 1);
    GError* error = nullptr;
    gpointer context = module.begin_load(nullptr, Prepared, nullptr, nullptr, &error);
    bool ok = true;
    for (std::size_t at = 0; ok && at < picture.size(); at += step) {
        const std::size_t piece = std::min(step, picture.size() - at);
        ok = module.load_increment(context, picture.data() + at, static_cast<guint>(piece), &error);
    }
    g_clear_error(&error);
    prepared = 0;
    ok = module.stop_load(context, &error) && ok;
    g_clear_error(&error);
    kadromir::PictureState state;
    const bool accepted =
        kadromir::LoadPictureBytes(kadromir::PictureFormat::KADROMIR_LOADER_FORMAT, picture,
                                   state) == kadromir::LoadOutcome::Loaded;
    if (ok != accepted || prepared != (ok ? 1 : 0)) {
        std::abort();
    }
    return 0;
}
