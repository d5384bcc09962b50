// The open-file dialog on Qt: Qt's own file dialog, the same on every desktop.
#include "ui/open_dialog.h"

#include "form_window.h"

#include <QFile>
#include <QFileDialog>
#include <QStringList>

namespace kadromir::ui {
namespace {

// "*.spr" becomes "*.[sS][pP][rR]", so that Pic.Spr matches too.
QString CaseInsensitive(const QString& pattern) {
    QString result;
    for (const QChar c : pattern) {
        if (c.isLetter() && c.toLower() != c.toUpper()) {
            result += QStringLiteral("[%1%2]").arg(c.toLower(), c.toUpper());
        } else {
            result += c;
        }
    }
    return result;
}

} // namespace

std::optional<std::string> OpenDialog::Run() {
    const QString filter = QString::fromStdString(Filter);
    const QString description = filter.section(QLatin1Char('|'), 0, 0);
    QStringList patterns;
    for (const QString& pattern :
         filter.section(QLatin1Char('|'), 1).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        patterns << CaseInsensitive(pattern.trimmed());
    }

    QFileDialog dialog(&Owner.Window());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilter(description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                         QLatin1Char(')'));
    if (!Remembered.empty()) {
        dialog.selectFile(QFile::decodeName(QByteArray::fromStdString(Remembered)));
    }
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        Remembered = QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
        return Remembered;
    }
    Remembered.clear();
    return std::nullopt;
}

} // namespace kadromir::ui
