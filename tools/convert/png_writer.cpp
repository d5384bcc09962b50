#include "png_writer.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

namespace kadromir {

QByteArray EncodePng(const PictureState& picture) {
    const FrameBitmap& bitmap = picture.Bitmap;
    QImage image(FrameBitmap::Width, FrameBitmap::Height, QImage::Format_Indexed8);
    QList<QRgb> colours;
    for (int i = 0; i < FrameBitmap::PaletteSize; ++i) {
        colours.append(0xFF000000u | bitmap.PaletteEntry(i));
    }
    image.setColorTable(colours);
    for (int y = 0; y < FrameBitmap::Height; ++y) {
        uchar* line = image.scanLine(y);
        const auto row = bitmap.Row(y);
        for (int k = 0; k < FrameBitmap::RowBytes; ++k) {
            line[2 * k] = row[static_cast<std::size_t>(k)] >> 4;
            line[2 * k + 1] = row[static_cast<std::size_t>(k)] & 0x0F;
        }
    }
    image.setText(
        QStringLiteral("Border"),
        QStringLiteral("%1").arg(picture.BorderColour, 2, 16, QLatin1Char('0')).toUpper());

    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image)) {
        return {};
    }
    return png;
}

} // namespace kadromir
