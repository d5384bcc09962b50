// Dialogs and their controls on Qt: QDialog, QCheckBox, QPushButton, QLineEdit and a
// pair of arrow buttons.
#include "ui/dialog.h"

#include "form_window.h"
#include "keys_qt.h"
#include "native.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCursor>
#include <QDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QToolButton>

#include "base/screen_geometry.h"

namespace kadromir::ui {
namespace {

class QtDialog final : public QDialog {
  public:
    QtDialog(FormWindow& owner, Dialog& face)
        : QDialog(&owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
          Owner(owner), Face(face) {}

  protected:
    void showEvent(QShowEvent* event) override {
        QDialog::showEvent(event);
        if (Face.OnShown) {
            Face.OnShown();
        }
    }
    void closeEvent(QCloseEvent* event) override {
        // On closing, the main window comes back to the front.
        setEnabled(false);
        Owner.setEnabled(true);
        Owner.raise();
        Owner.activateWindow();
        QDialog::closeEvent(event);
    }

  private:
    FormWindow& Owner;
    Dialog& Face;
};

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// An edit field that reports its keys, its focus and the user's edits.
class QtEdit final : public QLineEdit {
  public:
    QtEdit(QWidget& parent, EditField& face) : QLineEdit(&parent), Face(face) {
        connect(this, &QLineEdit::textEdited, this, [this] {
            if (Face.OnEdited) {
                Face.OnEdited();
            }
        });
    }
    bool KeepsSelection = false;

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (Face.OnKeyDown && Face.OnKeyDown(KeyEventOf(*event))) {
            return;
        }
        QLineEdit::keyPressEvent(event);
    }
    void keyReleaseEvent(QKeyEvent* event) override {
        QLineEdit::keyReleaseEvent(event);
        if (Face.OnKeyUp) {
            Face.OnKeyUp(KeyEventOf(*event));
        }
    }
    void focusOutEvent(QFocusEvent* event) override {
        const int start = selectionStart();
        const auto length = static_cast<int>(selectedText().size());
        QLineEdit::focusOutEvent(event);
        if (KeepsSelection && start >= 0 && length > 0) {
            setSelection(start, length);
        }
        if (Face.OnFocusLost) {
            Face.OnFocusLost();
        }
    }

  private:
    EditField& Face;
};

// Two arrow buttons, the up one above the down one.
class QtUpDown final : public QWidget {
  public:
    QtUpDown(QWidget& parent, UpDown& face) : QWidget(&parent) {
        Up = new QToolButton(this);
        Down = new QToolButton(this);
        Up->setArrowType(Qt::UpArrow);
        Down->setArrowType(Qt::DownArrow);
        for (QToolButton* arrow : {Up, Down}) {
            arrow->setFocusPolicy(Qt::NoFocus);
            arrow->setAutoRepeat(true); // held, an arrow repeats at the platform's pace
        }
        connect(Up, &QToolButton::clicked, this, [&face] { face.Step(+1); });
        connect(Down, &QToolButton::clicked, this, [&face] { face.Step(-1); });
    }

  protected:
    void resizeEvent(QResizeEvent*) override {
        const int half = height() / 2;
        Up->setGeometry(0, 0, width(), half);
        Down->setGeometry(0, half, width(), height() - half);
    }

  private:
    QToolButton* Up = nullptr;
    QToolButton* Down = nullptr;
};

} // namespace

struct Dialog::Native {
    QPointer<QDialog> Window;
};

struct Control::Native {
    QPointer<QWidget> Widget;
};

Dialog::Dialog(Form& owner, const std::string& caption, int clientWidth, int clientHeight)
    : OwnerForm(owner), Impl(std::make_unique<Native>()) {
    auto* window = new QtDialog(owner.Window(), *this);
    Impl->Window = window;
    window->setWindowTitle(Text(caption));
    window->resize(clientWidth, clientHeight);
}

Dialog::~Dialog() {
    // The controls first, while their window is there.
    while (!FreeList.empty()) {
        FreeList.pop_back();
    }
    delete Impl->Window.data();
}

std::string Dialog::Caption() const {
    return Impl->Window->windowTitle().toStdString();
}

void Dialog::SetBackgroundColour(std::uint32_t rgb) {
    QDialog& window = *Impl->Window;
    // The captions' colour goes with the background: under a dark colour scheme they
    // would be light on a light colour.
    QPalette colours = window.palette();
    colours.setColor(QPalette::Window, QColor::fromRgb(rgb));
    colours.setColor(QPalette::WindowText, Qt::black);
    colours.setColor(QPalette::Disabled, QPalette::WindowText, QColor(120, 120, 120));
    window.setPalette(colours);
    window.setAutoFillBackground(true);
}

void Dialog::CentreOnPointerDisplay() {
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen != nullptr) {
        const QRect area = screen->geometry();
        const Position at = CentredPosition({area.left(), area.top(), area.width(), area.height()},
                                            ClientWidth(), ClientHeight());
        Impl->Window->move(at.Left, at.Top);
    }
}

int Dialog::ClientWidth() const {
    return Impl->Window->width();
}

int Dialog::ClientHeight() const {
    return Impl->Window->height();
}

void Dialog::SetFixedClientSize(int width, int height) {
    Impl->Window->setFixedSize(width, height);
}

int Dialog::FrameWidth() const {
    return Impl->Window->frameGeometry().width() - Impl->Window->geometry().width();
}

void Dialog::RunModal() {
    QDialog& window = *Impl->Window;
    OwnerForm.SetEnabled(false);
    window.setEnabled(true); // a child of the main window, enabled on its own
    window.exec();
    OwnerForm.SetEnabled(true);
    window.close();
}

void Dialog::Show() {
    Impl->Window->show();
}

bool Dialog::Visible() const {
    return Impl->Window->isVisible();
}

void Dialog::Close() {
    Impl->Window->close();
}

Control::Control(std::unique_ptr<Native> native) : Impl(std::move(native)) {}

Control::~Control() {
    delete Impl->Widget.data();
}

Rect Control::Bounds() const {
    const QRect bounds = Impl->Widget->geometry();
    return {bounds.x(), bounds.y(), bounds.width(), bounds.height()};
}

void Control::SetBounds(const Rect& bounds) {
    Impl->Widget->setGeometry(bounds.Left, bounds.Top, bounds.Width, bounds.Height);
}

bool Control::Enabled() const {
    return Impl->Widget->isEnabled();
}

void Control::SetEnabled(bool enabled) {
    Impl->Widget->setEnabled(enabled);
}

namespace {

template <typename Widget> Widget& As(const Control& control) {
    return static_cast<Widget&>(*control.Parts().Widget);
}

std::unique_ptr<Control::Native> Made(QWidget* widget) {
    auto native = std::make_unique<Control::Native>();
    native->Widget = widget;
    return native;
}

} // namespace

CheckBox::CheckBox(Dialog& dialog, const std::string& caption, int left, int top)
    : Control(Made(new QCheckBox(Text(caption), dialog.Parts().Window))) {
    auto& box = As<QCheckBox>(*this);
    box.setFocusPolicy(Qt::NoFocus);
    box.move(left, top);
    box.adjustSize(); // sized to its caption
    QObject::connect(&box, &QCheckBox::clicked, &box, [this] {
        if (OnClick) {
            OnClick();
        }
    });
}

std::string CheckBox::Caption() const {
    return As<QCheckBox>(*this).text().toStdString();
}

bool CheckBox::Checked() const {
    return As<QCheckBox>(*this).isChecked();
}

void CheckBox::SetChecked(bool checked) {
    As<QCheckBox>(*this).setChecked(checked);
}

void CheckBox::Click() {
    As<QCheckBox>(*this).click();
}

Button::Button(Dialog& dialog, const std::string& caption, int left, int top)
    : Control(Made(new QPushButton(Text(caption), dialog.Parts().Window))) {
    auto& button = As<QPushButton>(*this);
    button.setFocusPolicy(Qt::NoFocus);
    button.setAutoDefault(false);
    button.move(left, top);
    button.adjustSize();
    QObject::connect(&button, &QPushButton::clicked, &button, [this] {
        if (OnClick) {
            OnClick();
        }
    });
}

std::string Button::Caption() const {
    return As<QPushButton>(*this).text().toStdString();
}

void Button::Click() {
    As<QPushButton>(*this).click();
}

EditField::EditField(Dialog& dialog, const Rect& bounds)
    : Control(Made(new QtEdit(*dialog.Parts().Window, *this))) {
    auto& field = As<QtEdit>(*this);
    field.setGeometry(bounds.Left, bounds.Top, bounds.Width, bounds.Height);
    field.setFocusPolicy(Qt::StrongFocus); // a tab stop, on the system window colour
    field.setBackgroundRole(QPalette::Base);
    // Narrow fields beside arrows: the digits get all the width there is.
    field.setTextMargins(-2, 0, -2, 0);
    field.setAlignment(Qt::AlignCenter);
}

std::string EditField::Text() const {
    return As<QtEdit>(*this).text().toStdString();
}

void EditField::SetText(const std::string& text) {
    As<QtEdit>(*this).setText(QString::fromStdString(text));
}

void EditField::SetReadOnly(bool readOnly) {
    As<QtEdit>(*this).setReadOnly(readOnly);
}

bool EditField::ReadOnly() const {
    return As<QtEdit>(*this).isReadOnly();
}

void EditField::SetDigitsOnly() {
    auto& field = As<QtEdit>(*this);
    field.setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), &field));
}

void EditField::KeepSelection() {
    As<QtEdit>(*this).KeepsSelection = true;
}

void EditField::Focus() {
    As<QtEdit>(*this).setFocus();
}

UpDown::UpDown(Dialog& dialog) : Control(Made(new QtUpDown(*dialog.Parts().Window, *this))) {
    Impl->Widget->show();
}

void UpDown::Step(int direction) {
    if (OnStep) {
        OnStep(direction);
    }
}

QDialog& DialogWindow(const Dialog& dialog) {
    return *dialog.Parts().Window;
}

QWidget& ControlWidget(const Control& control) {
    return *control.Parts().Widget;
}

} // namespace kadromir::ui
