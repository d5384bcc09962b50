#pragma once

#include "formats/picture_bytes.h"

#include <QImageIOHandler>

#include <optional>

namespace kadromir {

// Reads one picture from the device it is given, whatever that device is: never more
// than the format can use, in steps as the bytes come. A file's name serves only to
// find the .pal beside an SCR; the bytes are always the device's own.
class ImageHandler : public QImageIOHandler {
  public:
    bool canRead() const override;
    bool read(QImage* image) override;
    bool supportsOption(ImageOption option) const override;
    QVariant option(ImageOption option) const override;

    // The format to read with. One of ours that the host names (a file's suffix, as Qt
    // passes it) is the format, whatever marks the content holds; only where it names
    // none of ours does the content decide, and then only SCR's mark counts. The
    // device is only peeked at.
    static std::optional<PictureFormat> FormatOf(QIODevice* device, const QByteArray& format);
};

} // namespace kadromir
