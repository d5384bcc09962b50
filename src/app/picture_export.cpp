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
    const std::string& current = Navigator.CurrentFile();
    if (PictureData == nullptr || current.empty()) {
        return;
    }
    QFileDialog dialog(Parts.Form, QStringLiteral("Сохранить как PNG"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("PNG (*.png)"));
    dialog.setDefaultSuffix(QStringLiteral("png"));
    dialog.setDirectory(QFile::decodeName(QByteArray::fromStdString(DirectoryPart(current))));
    dialog.selectFile(QFile::decodeName(
        QByteArray::fromStdString(NameWithoutExtension(FileNamePart(current)) + ".png")));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    const std::string path = QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
    const QByteArray png = EncodePng(*PictureData);
    const int error = WriteFileReplacing(
        path, std::string_view(png.constData(), static_cast<std::size_t>(png.size())));
    if (png.isEmpty() || error != 0) {
        QMessageBox::warning(Parts.Form, QStringLiteral("Сохранить как PNG"),
                             QFile::decodeName(QByteArray::fromStdString(path)) + "\n" +
                                 QString::fromLocal8Bit(std::strerror(error != 0 ? error : EIO)));
    }
}

void ViewerWindow::CopyPicture() {
    if (PictureData == nullptr || Navigator.CurrentFile().empty()) {
        return;
    }
    auto* data = new QMimeData;
    data->setImageData(PictureImage(*PictureData));
    data->setData(QStringLiteral("image/png"), EncodePng(*PictureData));
    QApplication::clipboard()->setMimeData(data);
}

} // namespace kadromir
