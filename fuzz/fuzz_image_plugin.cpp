// The Qt image plugin as other programs call it: QImageReader's handler on a buffer,
// asked for each of our formats and for none (the content decides). A picture comes
// out exactly when the format's own decoder accepts the bytes, and it is 256 x 256.
#include "adapters/qt_image_plugin/image_handler.h"
#include "formats/picture_bytes.h"

#include <QBuffer>
#include <QImage>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const QByteArray& key :
         {QByteArray("spr"), QByteArray("scr"), QByteArray("rmb"), QByteArray()}) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        kadromir::ImageHandler handler;
        handler.setDevice(&buffer);
        handler.setFormat(key);
        const auto format = kadromir::ImageHandler::FormatOf(&buffer, key);
        QImage image;
        const bool read = handler.read(&image);
        kadromir::PictureState picture;
        const bool accepted =
            format && kadromir::LoadPictureBytes(*format, {data, size}, picture) ==
                          kadromir::LoadOutcome::Loaded;
        if (read != accepted || (read && image.size() != QSize(256, 256))) {
            std::abort();
        }
    }
    return 0;
}
