#include "picture_image.h"

namespace kadromir {

QImage PictureImage(const PictureState& picture, int side) {
    const std::vector<std::uint8_t> indices = PictureIndices(picture.Bitmap, side);
    if (indices.empty()) {
        return {};
    }
    QImage image(side, side, QImage::Format_Indexed8);
    // A fixed resolution (72 dpi): Qt would take the screen's where there is one.
    constexpr int DotsPerMeter = 2835;
    image.setDotsPerMeterX(DotsPerMeter);
    image.setDotsPerMeterY(DotsPerMeter);
    QList<QRgb> colours;
    for (int i = 0; i < FrameBitmap::PaletteSize; ++i) {
        colours.append(0xFF000000u | picture.Bitmap.PaletteEntry(i));
    }
    image.setColorTable(colours);
    for (int y = 0; y < side; ++y) {
        std::copy_n(indices.data() + static_cast<std::size_t>(y) * side, side, image.scanLine(y));
    }
    image.setText(
        QStringLiteral("Border"),
        QStringLiteral("%1").arg(picture.BorderColour, 2, 16, QLatin1Char('0')).toUpper());
    return image;
}

QByteArray EncodePng(const PictureState& picture, int side) {
    const std::string png = EncodePicturePng(picture, side);
    return QByteArray(png.data(), static_cast<qsizetype>(png.size()));
}

} // namespace kadromir
