// The clipboard on Qt: an image, and the PNG bytes as image/png.
#include "ui/clipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>

namespace kadromir::ui {

void CopyToClipboard(const ClipboardPicture& picture) {
    QImage image(picture.Width, picture.Height, QImage::Format_Indexed8);
    QList<QRgb> colours;
    for (const std::uint32_t rgb : picture.Palette) {
        colours.append(0xFF000000u | rgb);
    }
    image.setColorTable(colours);
    for (int y = 0; y < picture.Height; ++y) {
        std::copy_n(picture.Indices.begin() + static_cast<std::ptrdiff_t>(y) * picture.Width,
                    picture.Width, image.scanLine(y));
    }
    auto* data = new QMimeData;
    data->setImageData(image);
    data->setData(QStringLiteral("image/png"),
                  QByteArray(picture.Png.data(), static_cast<qsizetype>(picture.Png.size())));
    QApplication::clipboard()->setMimeData(data);
}

} // namespace kadromir::ui
