// Menus on Qt: a QMenuBar or QMenu with one QAction an item.
#include "ui/menu.h"

#include "form_window.h"
#include "keys_qt.h"
#include "native.h"
#include "ui/action_list.h"
#include "ui/menu_template.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QWindow>

namespace kadromir::ui {

struct Menu::Native {
    struct Entry {
        QAction* Item = nullptr;
        std::function<void()> Click;
        QShortcut* Accelerator = nullptr;
        QObject* Fallback = nullptr; // the accelerator under layouts of other scripts
    };
    explicit Native(FormWindow& window) : Window(window) {}
    void Build(QWidget& container, const std::vector<std::string>& captions);
    QAction* Item(int index) const {
        return index >= 0 && index < static_cast<int>(Items.size())
                   ? Items[static_cast<std::size_t>(index)]->Item
                   : nullptr;
    }

    FormWindow& Window;
    QMenuBar* MenuBar = nullptr;
    QMenu* PopupMenu = nullptr;
    std::vector<std::unique_ptr<Entry>> Items;
};

Menu::Menu(Form& form) : Impl(std::make_unique<Native>(form.Window())) {}

std::unique_ptr<Menu> Menu::CreateMenuBar(Form& form, const std::vector<std::string>& captions) {
    std::unique_ptr<Menu> menu(new Menu(form));
    menu->Impl->MenuBar = new QMenuBar(&form.Window());
    menu->Impl->Build(*menu->Impl->MenuBar, captions);
    form.Window().SetMenuBar(*menu->Impl->MenuBar);
    return menu;
}

std::unique_ptr<Menu> Menu::CreatePopup(Form& form, const std::vector<std::string>& captions) {
    std::unique_ptr<Menu> menu(new Menu(form));
    menu->Impl->PopupMenu = new QMenu(&form.Window());
    menu->Impl->Build(*menu->Impl->PopupMenu, captions);
    return menu;
}

Menu::~Menu() = default;

void Menu::Native::Build(QWidget& container, const std::vector<std::string>& captions) {
    const auto parsed = ParseMenuTemplate(captions);
    std::vector<QWidget*> submenus; // by item, where the item opens one
    for (const MenuTemplateItem& item : parsed) {
        auto entry = std::make_unique<Entry>();
        const QString text = QString::fromStdString(item.Caption);
        QWidget* parent =
            item.Parent < 0 ? &container : submenus[static_cast<std::size_t>(item.Parent)];
        QWidget* submenu = nullptr;
        if (item.OpensSubmenu) {
            auto* menu = new QMenu(text, parent);
            entry->Item = menu->menuAction();
            parent->addAction(entry->Item);
            submenu = menu;
        } else {
            entry->Item = new QAction(text, parent);
            parent->addAction(entry->Item);
            Entry* raw = entry.get();
            QObject::connect(entry->Item, &QAction::triggered, entry->Item, [raw] {
                if (raw->Click) {
                    raw->Click();
                }
            });
        }
        submenus.push_back(submenu);
        Items.push_back(std::move(entry));
    }
}

int Menu::ItemCount() const {
    return static_cast<int>(Impl->Items.size());
}

std::string Menu::ItemText(int index) const {
    const QAction* item = Impl->Item(index);
    return item ? item->text().toStdString() : std::string();
}

bool Menu::ItemEnabled(int index) const {
    const QAction* item = Impl->Item(index);
    return item && item->isEnabled();
}

bool Menu::ItemVisible(int index) const {
    const QAction* item = Impl->Item(index);
    return item && item->isVisible();
}

bool Menu::ItemOpensSubmenu(int index) const {
    const QAction* item = Impl->Item(index);
    return item && item->menu() != nullptr;
}

void Menu::SetOnClick(int index, std::function<void()> click) {
    if (Impl->Item(index) != nullptr) {
        Impl->Items[static_cast<std::size_t>(index)]->Click = std::move(click);
    }
}

void Menu::Click(int index) {
    if (QAction* item = Impl->Item(index)) {
        item->trigger();
    }
}

namespace {

// A single key without modifiers that the active layout turns into a character of
// another script reaches the window as an ordinary key press; this catches it there
// and runs the accelerator of the Latin key at the same position. It also keeps the
// keypad's keys from the accelerator: they are other keys than the main row's, which
// Qt's shortcuts would otherwise take them for.
class LayoutFallback : public QObject {
  public:
    LayoutFallback(QWidget& window, std::function<void()> run)
        : QObject(&window), Window(window), Run(std::move(run)) {
        window.installEventFilter(this);
        // A shortcut is offered to the focused object of the window first, before any
        // key press: only an application-wide filter sees that offer for every child.
        qApp->installEventFilter(this);
    }
    int Key = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ShortcutOverride && Key != 0 && InWindow(watched)) {
            auto* press = static_cast<QKeyEvent*>(event);
            if ((press->modifiers() & Qt::KeypadModifier) && press->key() == Key) {
                event->accept(); // the focused object keeps the key: no shortcut
                return true;
            }
        }
        if (event->type() == QEvent::KeyPress && Key != 0 && watched == &Window) {
            auto* press = static_cast<QKeyEvent*>(event);
            const auto modifiers = press->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier |
                                                         Qt::AltModifier | Qt::MetaModifier);
            if (modifiers == Qt::NoModifier && press->key() != Key && ShortcutKey(*press) == Key) {
                Run();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    bool InWindow(QObject* object) const {
        if (auto* widget = qobject_cast<QWidget*>(object)) {
            return widget->window() == &Window;
        }
        return object == Window.windowHandle();
    }

    QWidget& Window;
    std::function<void()> Run;
};

} // namespace

void Menu::SetAccelerator(int index, const Shortcut& shortcut) {
    if (Impl->Item(index) == nullptr) {
        return;
    }
    const QKeySequence keys = KeySequenceOf(shortcut);
    Native::Entry& entry = *Impl->Items[static_cast<std::size_t>(index)];
    if (entry.Accelerator == nullptr && shortcut.Empty()) {
        return;
    }
    Native::Entry* raw = &entry;
    FormWindow& Window = Impl->Window;
    const auto run = [raw] {
        // An accelerator runs the item only while the item can be chosen.
        if (raw->Item->isEnabled() && raw->Click) {
            raw->Click();
        }
    };
    if (entry.Accelerator == nullptr) {
        entry.Accelerator = new QShortcut(&Window);
        entry.Accelerator->setContext(Qt::WindowShortcut);
        QObject::connect(entry.Accelerator, &QShortcut::activated, entry.Accelerator, run);
        entry.Fallback = new LayoutFallback(Window, run);
    }
    if (entry.Accelerator->key() != keys) {
        entry.Accelerator->setKey(keys);
        // Only a single key without modifiers has a layout-independent twin.
        const int combined = keys.isEmpty() ? 0 : keys[0].toCombined();
        static_cast<LayoutFallback*>(entry.Fallback)->Key =
            keys.count() == 1 && (combined & Qt::KeyboardModifierMask) == 0 ? combined : 0;
    }
}

void Menu::ShowPopup(const Point& at) {
    if (Impl->PopupMenu != nullptr) {
        Impl->PopupMenu->exec(QPoint(at.X, at.Y));
    }
}

void Menu::BindClick(const ActionLink& link, std::function<void()> click) {
    SetOnClick(link.Key, std::move(click));
}

void Menu::Update(const ActionLink& link, const Action& action) {
    const int index = link.Key;
    QAction* item = Impl->Item(index);
    if (item == nullptr) {
        return;
    }
    std::string text = action.Caption();
    if (!action.ShortcutText().empty()) {
        text += '\t' + action.ShortcutText();
    }
    if (const QString shown = QString::fromStdString(text); item->text() != shown) {
        item->setText(shown);
    }
    if (item->isEnabled() != action.Enabled()) {
        item->setEnabled(action.Enabled());
    }
    if (item->isVisible() != action.Visible()) {
        item->setVisible(action.Visible());
    }
    // A disabled item's key reaches the window as an ordinary key (a letter typed).
    SetAccelerator(index, action.Enabled() ? action.Shortcut() : Shortcut{});
}

void AttachContextMenu(QWidget& widget, Menu& menu) {
    widget.setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(&widget, &QWidget::customContextMenuRequested, &widget,
                     [&widget, &menu](const QPoint& at) {
                         const QPoint global = widget.mapToGlobal(at);
                         menu.ShowPopup({global.x(), global.y()});
                     });
}

QAction* MenuItem(const Menu& menu, int index) {
    return menu.Parts().Item(index);
}

QMenuBar* MenuBarOf(const Menu& menu) {
    return menu.Parts().MenuBar;
}

QMenu* PopupMenuOf(const Menu& menu) {
    return menu.Parts().PopupMenu;
}

} // namespace kadromir::ui
