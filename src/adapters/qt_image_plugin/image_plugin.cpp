#include "image_plugin.h"

#include "image_handler.h"

namespace kadromir {

QImageIOPlugin::Capabilities ImagePlugin::capabilities(QIODevice* device,
                                                       const QByteArray& format) const {
    if (device == nullptr) {
        // Asked by format name alone: what can be read under that name.
        return FormatOfName("." + format.toLower().toStdString()) ? CanRead : Capabilities();
    }
    return device->isReadable() && ImageHandler::FormatOf(device, format.toLower())
               ? CanRead
               : Capabilities();
}

QImageIOHandler* ImagePlugin::create(QIODevice* device, const QByteArray& format) const {
    auto* handler = new ImageHandler;
    handler->setDevice(device);
    handler->setFormat(format.toLower());
    return handler;
}

} // namespace kadromir
