// The picture taken elsewhere: saved as a PNG or copied to the clipboard.
#include "viewer_window.h"

#include "base/file_writer.h"
#include "base/path_rules.h"
#include "picture_image/picture_image.h"
#include "ui/form.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>

#include <cstring>

namespace kadromir {

void ViewerWindow::SavePictureAsPng() {
    // Named after the picture on screen: after a refused step the current file is
    // another one, whose picture was never shown.
    const std::string& shown = Navigator.ShownFile();
    if (PictureData == nullptr || shown.empty()) {
        return;
    }
    QFileDialog dialog(Parts.Form, QStringLiteral("Сохранить как PNG"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("PNG (*.png)"));
    dialog.setDefaultSuffix(QStringLiteral("png"));
    dialog.setDirectory(QFile::decodeName(QByteArray::fromStdString(DirectoryPart(shown))));
    dialog.selectFile(QFile::decodeName(
        QByteArray::fromStdString(NameWithoutExtension(FileNamePart(shown)) + ".png")));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    const std::string path = QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
    // The PNG is made in full before the target is touched.
    const QByteArray png = EncodePng(*PictureData);
    const int error =
        png.isEmpty()
            ? ENOMEM
            : WriteFileReplacing(
                  path, std::string_view(png.constData(), static_cast<std::size_t>(png.size())));
    if (error != 0) {
        QMessageBox::warning(Parts.Form, QStringLiteral("Сохранить как PNG"),
                             QFile::decodeName(QByteArray::fromStdString(path)) + "\n" +
                                 QString::fromLocal8Bit(std::strerror(error)));
    }
}

void ViewerWindow::CopyPicture() {
    if (PictureData == nullptr || Navigator.ShownFile().empty()) {
        return;
    }
    auto* data = new QMimeData;
    data->setImageData(PictureImage(*PictureData));
    data->setData(QStringLiteral("image/png"), EncodePng(*PictureData));
    QApplication::clipboard()->setMimeData(data);
}

} // namespace kadromir
