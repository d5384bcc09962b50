// The toolbar on Qt: a strip of tool buttons across the top of the client area.
#include "ui/toolbar.h"

#include "form_window.h"
#include "native.h"
#include "resize_watcher.h"
#include "ui/action_list.h"
#include "ui/menu.h"

#include <QApplication>
#include <QStyle>
#include <QToolButton>

namespace kadromir::ui {
namespace {
QStyle::StandardPixmap StandardImage(ToolbarImage image) {
    switch (image) {
    case ToolbarImage::OpenFile:
        return QStyle::SP_DialogOpenButton;
    case ToolbarImage::Back:
        return QStyle::SP_ArrowBack;
    case ToolbarImage::Forward:
        return QStyle::SP_ArrowForward;
    }
    return QStyle::SP_DialogOpenButton;
}
} // namespace

struct Toolbar::Native {
    struct Entry {
        QToolButton* Button = nullptr;
        std::function<void()> Click;
    };
    explicit Native(QWidget& client) : ClientArea(client) {}
    QToolButton* Button(int index) const {
        return index >= 0 && index < static_cast<int>(Buttons.size())
                   ? Buttons[static_cast<std::size_t>(index)]->Button
                   : nullptr;
    }
    // Keeps the toolbar across the client's whole width, buttons side by side at
    // their own sizes from the left; buttons past the right edge are cut off.
    void FitToClient();

    QWidget& ClientArea;
    QWidget* Bar = nullptr;
    std::vector<std::unique_ptr<Entry>> Buttons;
};

Toolbar::Toolbar(Form& form) : Impl(std::make_unique<Native>(form.Window().Client())) {
    QWidget& client = Impl->ClientArea;
    QWidget*& Bar = Impl->Bar;
    Bar = new QWidget(&client);
    // The strip has the platform's own look, not the border colour of the client.
    Bar->setPalette(QApplication::palette(Bar));
    Bar->setBackgroundRole(QPalette::Button);
    Bar->setAutoFillBackground(true);
    // A native toolbar's text is a little smaller than the menu's.
    QFont font = Bar->font();
    font.setPointSizeF(font.pointSizeF() - 1);
    Bar->setFont(font);
    Impl->FitToClient();
    new ResizeWatcher(client, [this] { Impl->FitToClient(); });
    Bar->show();
}

Toolbar::~Toolbar() = default;

int Toolbar::AddButton(const std::string& text, ToolbarImage image) {
    QWidget* Bar = Impl->Bar;
    auto entry = std::make_unique<Native::Entry>();
    entry->Button = new QToolButton(Bar);
    entry->Button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    entry->Button->setAutoRaise(true);
    entry->Button->setFocusPolicy(Qt::NoFocus);
    entry->Button->setIconSize(QSize(16, 16));
    entry->Button->setText(QString::fromStdString(text));
    entry->Button->setIcon(Bar->style()->standardIcon(StandardImage(image)));
    Native::Entry* raw = entry.get();
    QObject::connect(entry->Button, &QToolButton::clicked, entry->Button, [raw] {
        if (raw->Click) {
            raw->Click();
        }
    });
    entry->Button->show();
    Impl->Buttons.push_back(std::move(entry));
    Impl->FitToClient();
    return ButtonCount() - 1;
}

int Toolbar::ButtonCount() const {
    return static_cast<int>(Impl->Buttons.size());
}

std::string Toolbar::ButtonText(int index) const {
    const QToolButton* button = Impl->Button(index);
    return button ? button->text().toStdString() : std::string();
}

void Toolbar::SetButtonText(int index, const std::string& text) {
    if (QToolButton* button = Impl->Button(index)) {
        button->setText(QString::fromStdString(text));
        Impl->FitToClient();
    }
}

std::string Toolbar::Tooltip(int index) const {
    const QToolButton* button = Impl->Button(index);
    return button ? button->toolTip().toStdString() : std::string();
}

void Toolbar::SetTooltip(int index, const std::string& text) {
    if (QToolButton* button = Impl->Button(index)) {
        button->setToolTip(QString::fromStdString(text));
    }
}

bool Toolbar::IsEnabled(int index) const {
    const QToolButton* button = Impl->Button(index);
    return button != nullptr && button->isEnabled();
}

void Toolbar::SetEnabled(int index, bool enabled) {
    if (QToolButton* button = Impl->Button(index)) {
        button->setEnabled(enabled);
    }
}

void Toolbar::SetOnClick(int index, std::function<void()> click) {
    if (Impl->Button(index) != nullptr) {
        Impl->Buttons[static_cast<std::size_t>(index)]->Click = std::move(click);
    }
}

void Toolbar::Click(int index) {
    if (QToolButton* button = Impl->Button(index)) {
        button->click(); // does nothing while disabled
    }
}

int Toolbar::Height() const {
    return Impl->Bar->height();
}

void Toolbar::SetContextMenu(Menu& menu) {
    AttachContextMenu(*Impl->Bar, menu);
}

void Toolbar::Native::FitToClient() {
    constexpr int Margin = 2;
    int left = Margin;
    int height = 0;
    for (const auto& entry : Buttons) {
        QToolButton* button = entry->Button;
        if (button->isHidden()) {
            continue;
        }
        // Compact buttons, as a native toolbar's: the image, the text and a few
        // pixels around them, so three buttons fit the window's first width.
        const int compact = button->iconSize().width() +
                            button->fontMetrics().horizontalAdvance(button->text()) + 12;
        const QSize size(std::min(compact, button->sizeHint().width()),
                         button->sizeHint().height());
        button->setGeometry(left, Margin, size.width(), size.height());
        left += size.width();
        height = std::max(height, size.height());
    }
    Bar->setGeometry(0, 0, ClientArea.width(), height + 2 * Margin);
}

void Toolbar::BindClick(const ActionLink& link, std::function<void()> click) {
    SetOnClick(link.Key, std::move(click));
}

void Toolbar::Update(const ActionLink& link, const Action& action) {
    QToolButton* button = Impl->Button(link.Key);
    if (button == nullptr) {
        return;
    }
    // A button without text keeps none.
    const QString caption = QString::fromStdString(action.Caption());
    if (!button->text().isEmpty() && button->text() != caption) {
        SetButtonText(link.Key, action.Caption());
    }
    SetTooltip(link.Key, action.Hint());
    if (button->isEnabled() != action.Enabled()) {
        button->setEnabled(action.Enabled());
    }
    if (button->isHidden() == action.Visible()) {
        button->setHidden(!action.Visible());
        Impl->FitToClient();
    }
}

QToolButton* ToolbarButton(const Toolbar& toolbar, int index) {
    return toolbar.Parts().Button(index);
}

QWidget& ToolbarStrip(const Toolbar& toolbar) {
    return *toolbar.Parts().Bar;
}

} // namespace kadromir::ui
