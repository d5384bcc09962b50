// Message boxes and the save-file dialog on Qt.
#include "ui/dialogs.h"

#include "form_window.h"

#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

namespace kadromir::ui {

void ShowMessage(Form& owner, const std::string& caption, const std::string& text,
                 MessageKind kind) {
    QMessageBox box(kind == MessageKind::Warning ? QMessageBox::Warning : QMessageBox::NoIcon,
                    QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::Ok,
                    &owner.Window());
    box.setWindowModality(Qt::WindowModal);
    box.show();
    box.raise();
    box.activateWindow(); // brought to the front
    box.exec();
}

std::optional<std::string> AskSavePath(Form& owner, const SaveRequest& request) {
    const auto name = [](const std::string& bytes) {
        return QFile::decodeName(QByteArray::fromStdString(bytes));
    };
    QFileDialog dialog(&owner.Window(), QString::fromStdString(request.Title));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QString extension = QString::fromStdString(request.Extension);
    dialog.setNameFilter(QString::fromStdString(request.Description) + " (*." + extension + ")");
    dialog.setDefaultSuffix(extension);
    dialog.setDirectory(name(request.Directory));
    dialog.selectFile(name(request.FileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
}

} // namespace kadromir::ui
