#include "image_handler.h"

#include "base/bounded_bytes.h"
#include "picture_image/picture_image.h"

#include <QFile>
#include <QSize>
#include <QVariant>

#include <span>

namespace kadromir {
namespace {

std::span<const std::uint8_t> Bytes(const QByteArray& data) {
    return {reinterpret_cast<const std::uint8_t*>(data.constData()),
            static_cast<std::size_t>(data.size())};
}

// The name of a device that is a file of the file system, else empty: where an SCR
// looks for its .pal.
std::string FileNameOf(QIODevice* device) {
    const auto* file = qobject_cast<QFile*>(device);
    if (file == nullptr || file->fileName().isEmpty() || file->fileName().startsWith(':')) {
        return {};
    }
    return QFile::encodeName(file->fileName()).toStdString();
}

} // namespace

std::optional<PictureFormat> ImageHandler::FormatOf(QIODevice* device, const QByteArray& format) {
    if (const auto named = FormatOfName("." + format.toLower().toStdString())) {
        return named;
    }
    // Qt may pass another format's name (the suffix of a misnamed file) with a device
    // that our content check recognised.
    if (device != nullptr) {
        return FormatOfContent(Bytes(device->peek(static_cast<qint64>(FormatMarkBytes()))));
    }
    return std::nullopt;
}

bool ImageHandler::canRead() const {
    if (FormatOf(device(), format())) {
        setFormat(format());
        return true;
    }
    return false;
}

bool ImageHandler::read(QImage* image) {
    const auto format = FormatOf(device(), this->format());
    if (!format || image == nullptr) {
        return false;
    }
    // One byte past the limit tells an SPR too long to be a picture.
    BoundedBytes bytes(ReadLimitOf(*format) + 1);
    QIODevice* source = device();
    const bool read = bytes.ReadFrom([source](std::uint8_t* into, std::size_t length) {
        return static_cast<long long>(
            source->read(reinterpret_cast<char*>(into), static_cast<qint64>(length)));
    });
    PictureState picture;
    if (!read || LoadPictureBytes(*format, bytes.Bytes(), picture, FileNameOf(source)) !=
                     LoadOutcome::Loaded) {
        return false;
    }
    *image = PictureImage(picture);
    return !image->isNull();
}

bool ImageHandler::supportsOption(ImageOption option) const {
    return option == Size || option == ImageFormat;
}

QVariant ImageHandler::option(ImageOption option) const {
    if (option == Size) {
        return QSize(FrameBitmap::Width, FrameBitmap::Height);
    }
    if (option == ImageFormat) {
        return QImage::Format_Indexed8;
    }
    return {};
}

} // namespace kadromir
