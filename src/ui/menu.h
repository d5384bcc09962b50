#pragma once

#include "action_target.h"
#include "keys.h"

#include <QPoint>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QObject;
class QShortcut;
class QWidget;

namespace kadromir::ui {

// A menu bar or pop-up menu built from a template of captions: "(" after a caption
// opens a submenu holding the entries up to the matching ")", and an empty caption
// ends the template. Items are numbered depth-first in template order, brackets not
// counted.
class Menu : public ActionTarget {
  public:
    // A menu bar for `window` (which places it) or a pop-up menu owned by `window`.
    static std::unique_ptr<Menu> CreateMenuBar(QWidget& window,
                                               const std::vector<std::string>& captions);
    static std::unique_ptr<Menu> CreatePopup(QWidget& window,
                                             const std::vector<std::string>& captions);
    ~Menu() override;

    int ItemCount() const { return static_cast<int>(Items.size()); }
    // The item at depth-first position `index`; nullptr when out of range.
    QAction* Item(int index) const;

    void SetOnClick(int index, std::function<void()> click);
    // Installs `keys` as the item's accelerator: pressed while the window is active,
    // it runs the item.
    void SetAccelerator(int index, const Shortcut& shortcut);

    QMenuBar* Bar() const { return MenuBar; }
    // Shows the pop-up menu at a global position and runs the chosen item.
    void ShowPopup(const QPoint& globalPosition);

    void BindClick(const ActionLink& link, std::function<void()> click) override;
    void Update(const ActionLink& link, const Action& action) override;

  private:
    struct Entry {
        QAction* Item = nullptr;
        std::function<void()> Click;
        QShortcut* Accelerator = nullptr;
        QObject* Fallback = nullptr; // the accelerator under layouts of other scripts
    };
    Menu(QWidget& window) : Window(window) {}
    void Build(QWidget& container, const std::vector<std::string>& captions);

    QWidget& Window;
    QMenuBar* MenuBar = nullptr;
    QMenu* PopupMenu = nullptr;
    std::vector<std::unique_ptr<Entry>> Items;
};

} // namespace kadromir::ui
