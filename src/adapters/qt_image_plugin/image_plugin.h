#pragma once

#include <QImageIOHandler>
#include <QImageIOPlugin>

namespace kadromir {

// Lets every Qt program read the three formats, as the viewer shows them: an 8-bit
// indexed 256 x 256 image of the 16 colours, with the border code in the text
// "Border". Read-only.
class ImagePlugin : public QImageIOPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QImageIOHandlerFactoryInterface" FILE
                          "kadromir_image_plugin.json")

  public:
    Capabilities capabilities(QIODevice* device, const QByteArray& format) const override;
    QImageIOHandler* create(QIODevice* device, const QByteArray& format) const override;
};

} // namespace kadromir
