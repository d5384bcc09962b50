#pragma once

#include "formats/picture_bytes.h"

#include <QImageIOHandler>

#include <optional>

namespace kadromir {

// Reads one picture from a device. A file with a name is read as the viewer reads it
// (bounded, without blocking, SCR with its .pal); any other device gives at most the
// bytes the format can use.
class ImageHandler : public QImageIOHandler {
  public:
    bool canRead() const override;
    bool read(QImage* image) override;
    bool supportsOption(ImageOption option) const override;
    QVariant option(ImageOption option) const override;

    // The format a device holds: by its content's marks, else by the format name asked
    // for (the file's suffix, as Qt passes it). The device is only peeked at.
    static std::optional<PictureFormat> FormatOf(QIODevice* device, const QByteArray& format);
};

} // namespace kadromir
