#include "picture_image.h"

#include <QBuffer>
#include <QImageWriter>

namespace kadromir {

QImage PictureImage(const PictureState& picture, int side) {
    if (side < 1 || side > MaxPictureSide) {
        return {};
    }
    const FrameBitmap& bitmap = picture.Bitmap;
    QImage image(side, side, QImage::Format_Indexed8);
    // A fixed resolution (72 dpi): Qt would take the screen's where there is one, and
    // the viewer's PNG would differ from the converter's.
    constexpr int DotsPerMeter = 2835;
    image.setDotsPerMeterX(DotsPerMeter);
    image.setDotsPerMeterY(DotsPerMeter);
    QList<QRgb> colours;
    for (int i = 0; i < FrameBitmap::PaletteSize; ++i) {
        colours.append(0xFF000000u | bitmap.PaletteEntry(i));
    }
    image.setColorTable(colours);
    for (int y = 0; y < side; ++y) {
        uchar* line = image.scanLine(y);
        const int row = (2 * y + 1) * FrameBitmap::Height / (2 * side);
        for (int x = 0; x < side; ++x) {
            line[x] = static_cast<uchar>(
                bitmap.PixelIndex((2 * x + 1) * FrameBitmap::Width / (2 * side), row));
        }
    }
    image.setText(
        QStringLiteral("Border"),
        QStringLiteral("%1").arg(picture.BorderColour, 2, 16, QLatin1Char('0')).toUpper());
    return image;
}

QByteArray EncodePng(const PictureState& picture, int side) {
    const QImage image = PictureImage(picture, side);
    if (image.isNull()) {
        return {};
    }
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
