#include "settings_dialog.h"

#include "settings/setting_limits.h"
#include "settings/settings_file.h"
#include "settings/settings_store.h"
#include "spin_edit.h"
#include "ui/qt/form_window.h"
#include "ui/timer.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>

#include <algorithm>
#include <memory>
#include <string>

namespace kadromir {
namespace {

// The field's number, read as the settings file's numbers are.
int NumberIn(const QLineEdit& field) {
    return ParseProfileInt(field.text().toStdString());
}

// An edit field whose selection stays when the focus moves on (a plain one drops it).
class SelectionKeepingEdit : public QLineEdit {
  public:
    using QLineEdit::QLineEdit;

  protected:
    void focusOutEvent(QFocusEvent* event) override {
        const int start = selectionStart();
        const auto length = static_cast<int>(selectedText().size());
        QLineEdit::focusOutEvent(event);
        if (start >= 0 && length > 0) {
            setSelection(start, length);
        }
    }
};

// The rightmost extent any control needs, so that no caption is cut.
constexpr int RightMargin = 8;

} // namespace

QCheckBox* SettingsDialog::CheckBox(const std::string& caption, int left, int top) {
    auto* box = new QCheckBox(QString::fromStdString(caption), this);
    box->setFocusPolicy(Qt::NoFocus);
    box->move(left, top);
    box->adjustSize(); // sized to its caption
    return box;
}

QPushButton* SettingsDialog::Button(const char* caption, int left, int top) {
    auto* button = new QPushButton(QString::fromUtf8(caption), this);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoDefault(false);
    button->move(left, top);
    button->adjustSize();
    return button;
}

SettingsDialog::SettingsDialog(ui::Form& parent, const SettingsContext& context)
    : QDialog(&parent.Window(), Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                    Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      Context(context), MainWindow(parent.Window()) {
    setWindowTitle(QStringLiteral("Настройки"));
    resize(ClientWidth, ClientHeight);
    // The captions' colour goes with the cream background: under a dark colour scheme
    // they would be light on cream.
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(255, 251, 240));
    colours.setColor(QPalette::WindowText, Qt::black);
    colours.setColor(QPalette::Disabled, QPalette::WindowText, QColor(120, 120, 120));
    setPalette(colours);
    setAutoFillBackground(true);
    RepeatTimer.setInterval(10);
    connect(&RepeatTimer, &QTimer::timeout, this, [this] { ValidateRefreshField(); });

    // The controls in their order of creation, which is also the tab order.
    const SpinOptions spinOptions{.SetBuddyInt = true, .AlignRight = true, .ArrowKeys = true};
    SaveOnCloseBox =
        CheckBox("Сохранять координаты и размер окна просмотрщика на закрытии программы", 16, 16);
    ResetButton = Button("Сброс", 32, 272);
    ApplyButton = Button("Применить", 328, 272);
    FrozenBox = CheckBox("Применять замороженные координаты для следующей загрузки", 16, 48);
    RecentFileBox = CheckBox("После старта открывать недавний  файл", 16, 112);
    // The captions name the bounds the fields keep to.
    const auto withMaximum = [](const char* caption, int maximum) {
        return std::string(caption) + " (максимум " + std::to_string(maximum) + ")";
    };
    SlideShowBox =
        CheckBox(withMaximum("Показ слайдов  -  Интервал в секундах", MaxSlideInterval), 16, 176);
    SlideField = new QLineEdit(this);
    SlideField->setGeometry(480, 178, 36, 22);
    SlideField->setReadOnly(true);
    // Each spin field is placed by its field (SetBuddy, below), at the field's right edge.
    const auto spin = [this, &spinOptions](int width, int min, int max) {
        SpinEdit& made = SpinEdit::CreateSpinEdit(*this, spinOptions);
        made.SizeTo(width, 22);
        made.SetMax(max);
        made.SetMin(min);
        return &made;
    };
    RefreshSpin = spin(32, MinRefreshInterval, MaxRefreshIntervalInDialog);
    RandomSlidesBox = CheckBox("Случайный выбор слайдов", 16, 208);
    RefreshBox = CheckBox(withMaximum("Автообновление пути файлов  -  Интервал в секундах",
                                      MaxRefreshIntervalInDialog),
                          16, 240);
    RefreshField = new SelectionKeepingEdit(this);
    RefreshField->setGeometry(616, 240, 49, 22);
    RefreshField->setValidator(
        new QRegularExpressionValidator(QRegularExpression("[0-9]*"), RefreshField));
    SlideSpin = spin(13, MinSlideInterval, MaxSlideInterval);
    RecentDirBox = CheckBox("После старта открывать файлы из недавней директории - ", 16, 144);
    RandomOrderBox = CheckBox("В случайном порядке", 544, 144);
    FreezeBox = CheckBox(
        "Заморозить текущий  размер и координаты просмотрщика для следующей загрузки", 16, 80);
    for (QLineEdit* field : {SlideField, RefreshField}) {
        field->setFocusPolicy(Qt::StrongFocus); // tab stops, on the system window colour
        field->setBackgroundRole(QPalette::Base);
        // The arrows take much of the fields' width: the digits get all that is left.
        field->setTextMargins(-2, 0, -2, 0);
        field->setAlignment(Qt::AlignCenter);
    }

    connect(ResetButton, &QPushButton::clicked, this, [this] { ResetChecks(); });
    connect(ApplyButton, &QPushButton::clicked, this, [this] { ApplySettings(); });
    connect(FrozenBox, &QCheckBox::clicked, this, [this] { FrozenRule(); });
    connect(SlideShowBox, &QCheckBox::clicked, this, [this] { SlideRule(); });
    connect(RecentDirBox, &QCheckBox::clicked, this, [this] { RecentDirRule(); });
    RefreshField->installEventFilter(this);
    // Every change the user makes, not only typed keys (a paste, a middle click, the
    // context menu, a drop), is held to the bounds as a key release would be.
    connect(RefreshField, &QLineEdit::textEdited, this,
            [this] { QTimer::singleShot(0, this, [this] { ValidateRefreshField(); }); });
    RefreshSpin->SetBuddy(RefreshField);
    SlideSpin->SetBuddy(SlideField);

    // Centred for the full client width; FillDialog then narrows it from the right.
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen != nullptr) {
        const QRect area = screen->geometry();
        const Position at = CentredPosition({area.left(), area.top(), area.width(), area.height()},
                                            ClientWidth, ClientHeight);
        move(at.Left, at.Top);
    }
    FillDialog();
}

void SettingsDialog::FillDialog() {
    Settings& s = Context.Options;
    SaveOnCloseBox->setChecked(s.SaveWindowOnClose);
    FrozenBox->setChecked(s.UseFrozenGeometry);
    FrozenRule();
    RecentDirBox->setChecked(s.OpenFromRecentDir);
    RecentDirRule();
    RecentFileBox->setChecked(s.OpenRecentFile);
    RandomOrderBox->setChecked(s.RandomFromRecentDir);
    SlideShowBox->setChecked(s.SlideShow);
    RefreshField->setText(QString::number(s.AutoRefreshInterval));
    SlideRule();
    RandomSlidesBox->setChecked(s.RandomSlides);
    RefreshBox->setChecked(s.AutoRefresh);
    ClampSlideInterval(s);
    SlideField->setText(QString::number(s.SlideInterval));
    ValidateRefreshField();
    // Fixed from here on: the user cannot resize it.
    setFixedSize(WantedOuterWidth(), ClientHeight);
}

int SettingsDialog::WantedOuterWidth() const {
    // The first check box's width + 180, unless a caption would be cut at that width.
    int needed = 0;
    for (const QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        needed = std::max(needed, control->geometry().right() + 1 + RightMargin);
    }
    const int frame = frameGeometry().width() - geometry().width();
    return std::max(SaveOnCloseBox->width() + 180, needed + frame);
}

void SettingsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The outer width includes the frame, known only once the window is shown.
    QTimer::singleShot(0, this, [this] { ApplyOuterWidth(); });
    QTimer::singleShot(100, this, [this] { ApplyOuterWidth(); });
}

void SettingsDialog::ApplyOuterWidth() {
    const int frame = frameGeometry().width() - geometry().width();
    setFixedSize(WantedOuterWidth() - frame, ClientHeight);
}

void SettingsDialog::FrozenRule() {
    SaveOnCloseBox->setEnabled(!FrozenBox->isChecked());
}

void SettingsDialog::RecentDirRule() {
    RecentFileBox->setEnabled(!RecentDirBox->isChecked());
    RandomOrderBox->setEnabled(RecentDirBox->isChecked());
}

void SettingsDialog::SlideRule() {
    RandomSlidesBox->setEnabled(SlideShowBox->isChecked());
}

void SettingsDialog::ValidateRefreshField() {
    const int number = NumberIn(*RefreshField);
    if (number > MaxRefreshIntervalInDialog) {
        RefreshField->setText(QString::number(MaxRefreshIntervalInDialog));
    } else if (number < MinRefreshInterval) {
        RefreshField->setText(QString::number(MinRefreshInterval));
    }
}

void SettingsDialog::ResetChecks() {
    SaveOnCloseBox->setChecked(false);
    FrozenBox->setChecked(false);
    FrozenRule();
    RecentFileBox->setChecked(false);
    RecentDirBox->setChecked(false);
    RecentDirRule();
    RandomOrderBox->setChecked(false);
    SlideShowBox->setChecked(false);
    SlideRule();
    RandomSlidesBox->setChecked(false);
    RefreshBox->setChecked(false);
}

void SettingsDialog::ApplySettings() {
    Settings& s = Context.Options;
    // Disabled boxes keep their ticks and count.
    s.RandomFromRecentDir = RandomOrderBox->isChecked();
    s.SaveWindowOnClose = SaveOnCloseBox->isChecked();
    s.UseFrozenGeometry = FrozenBox->isChecked();
    s.OpenFromRecentDir = RecentDirBox->isChecked();
    s.OpenRecentFile = RecentFileBox->isChecked();
    s.SlideShow = SlideShowBox->isChecked();
    s.SlideInterval = static_cast<std::uint8_t>(NumberIn(*SlideField));
    s.RandomSlides = RandomSlidesBox->isChecked();
    s.AutoRefresh = RefreshBox->isChecked();
    ValidateRefreshField(); // whatever reached the field, only 1..30 goes further
    s.AutoRefreshInterval = NumberIn(*RefreshField);
    // Refresh first; the same period keeps a running timer's phase.
    if (s.AutoRefresh) {
        Context.RefreshTimer.SetPeriod(s.AutoRefreshInterval * 1000);
        Context.RefreshTimer.Start();
    } else {
        Context.RefreshTimer.Stop();
    }
    if (s.SlideShow) {
        Context.SlideTimer.SetPeriod(s.SlideInterval * 1000);
        Context.SlideTimer.Start();
    } else {
        Context.SlideTimer.Stop();
    }
    // The two start-up choices exclude each other.
    if (s.OpenFromRecentDir) {
        s.OpenRecentFile = false;
    }
    WriteSettings(s, Context.ConfigPath);
    if (FreezeBox->isChecked()) {
        SaveWindowGeometry(s, Context.ConfigPath, Context.MainWindow);
    }
}

bool SettingsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == RefreshField) {
        if (event->type() == QEvent::KeyPress) {
            RepeatTimer.start();
        } else if (event->type() == QEvent::FocusOut) {
            // The key's release then goes to another field: no repeat outlives the focus.
            RepeatTimer.stop();
        } else if (event->type() == QEvent::KeyRelease) {
            RepeatTimer.stop();
            // The release comes after the field took the key.
            QTimer::singleShot(0, this, [this] { ValidateRefreshField(); });
        }
    }
    return QDialog::eventFilter(watched, event);
}

void SettingsDialog::closeEvent(QCloseEvent* event) {
    // On closing, the main window comes back to the front.
    setEnabled(false);
    MainWindow.setEnabled(true);
    MainWindow.raise();
    MainWindow.activateWindow();
    QDialog::closeEvent(event);
}

void OpenSettingsDialog(ui::Form& mainWindow, const SettingsContext& context) {
    // Destroyed here, not later: the next "Настройки" must find no dialog left over.
    const auto dialog = std::make_unique<SettingsDialog>(mainWindow, context);
    mainWindow.SetEnabled(false);
    dialog->setEnabled(true); // a child of the main window, enabled on its own
    dialog->exec();
    mainWindow.SetEnabled(true);
    dialog->close();
}

} // namespace kadromir
