#include "menu.h"

#include "action_list.h"
#include "qt/keys_qt.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QWindow>

namespace kadromir::ui {

std::unique_ptr<Menu> Menu::CreateMenuBar(QWidget& window,
                                          const std::vector<std::string>& captions) {
    std::unique_ptr<Menu> menu(new Menu(window));
    menu->MenuBar = new QMenuBar(&window);
    menu->Build(*menu->MenuBar, captions);
    return menu;
}

std::unique_ptr<Menu> Menu::CreatePopup(QWidget& window, const std::vector<std::string>& captions) {
    std::unique_ptr<Menu> menu(new Menu(window));
    menu->PopupMenu = new QMenu(&window);
    menu->Build(*menu->PopupMenu, captions);
    return menu;
}

Menu::~Menu() = default;

void Menu::Build(QWidget& container, const std::vector<std::string>& captions) {
    std::vector<QWidget*> open{&container};
    for (std::size_t i = 0; i < captions.size() && !captions[i].empty(); ++i) {
        const std::string& caption = captions[i];
        if (caption == ")") {
            if (open.size() > 1) {
                open.pop_back();
            }
            continue;
        }
        if (caption == "(") {
            continue; // handled with the caption before it
        }
        auto entry = std::make_unique<Entry>();
        const QString text = QString::fromStdString(caption);
        const bool opensSubmenu = i + 1 < captions.size() && captions[i + 1] == "(";
        QWidget* parent = open.back();
        if (opensSubmenu) {
            auto* submenu = new QMenu(text, parent);
            entry->Item = submenu->menuAction();
            parent->addAction(entry->Item);
            open.push_back(submenu);
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
        Items.push_back(std::move(entry));
    }
}

QAction* Menu::Item(int index) const {
    return index >= 0 && index < ItemCount() ? Items[static_cast<std::size_t>(index)]->Item
                                             : nullptr;
}

void Menu::SetOnClick(int index, std::function<void()> click) {
    if (Item(index) != nullptr) {
        Items[static_cast<std::size_t>(index)]->Click = std::move(click);
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
    if (Item(index) == nullptr) {
        return;
    }
    const QKeySequence keys = KeySequenceOf(shortcut);
    Entry& entry = *Items[static_cast<std::size_t>(index)];
    Entry* raw = &entry;
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

void Menu::ShowPopup(const QPoint& globalPosition) {
    if (PopupMenu != nullptr) {
        PopupMenu->exec(globalPosition);
    }
}

void Menu::BindClick(const ActionLink& link, std::function<void()> click) {
    SetOnClick(link.Key, std::move(click));
}

void Menu::Update(const ActionLink& link, const Action& action) {
    const int index = link.Key;
    QAction* item = Item(index);
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
    if (!action.Shortcut().Empty()) {
        SetAccelerator(index, action.Shortcut());
    }
}

} // namespace kadromir::ui
