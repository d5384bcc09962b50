#include "image_handler.h"

#include "picture_image/picture_image.h"

#include <QFile>
#include <QFileDevice>
#include <QSize>
#include <QVariant>

#include <span>

namespace kadromir {
namespace {

std::span<const std::uint8_t> Bytes(const QByteArray& data) {
    return {reinterpret_cast<const std::uint8_t*>(data.constData()),
            static_cast<std::size_t>(data.size())};
}

// The path of a device that is a file of the file system, else empty.
std::string FilePathOf(QIODevice* device) {
    const auto* file = qobject_cast<QFile*>(device);
    if (file == nullptr || file->fileName().isEmpty() || file->fileName().startsWith(':')) {
        return {};
    }
    return QFile::encodeName(file->fileName()).toStdString();
}

} // namespace

std::optional<PictureFormat> ImageHandler::FormatOf(QIODevice* device, const QByteArray& format) {
    if (device != nullptr) {
        if (const auto found = FormatOfContent(Bytes(device->peek(FormatMarkBytes)))) {
            return found;
        }
    }
    return FormatOfName("." + format.toStdString());
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
    PictureState picture;
    const std::string path = FilePathOf(device());
    if (!path.empty() && FormatOfName(path) == format) {
        // The viewer's own load: its reader, and the .pal beside an SCR.
        if (LoadPicture(path, picture) != LoadOutcome::Loaded) {
            return false;
        }
    } else {
        // One byte past the limit tells an SPR too long to be a picture.
        const QByteArray data = device()->read(static_cast<qint64>(ReadLimitOf(*format)) + 1);
        if (LoadPictureBytes(*format, Bytes(data), picture) != LoadOutcome::Loaded) {
            return false;
        }
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
