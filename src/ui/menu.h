#pragma once

#include "action_target.h"
#include "geometry.h"
#include "keys.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kadromir::ui {

class Form;

// A menu bar or pop-up menu built from a template of captions: "(" after a caption
// opens a submenu holding the entries up to the matching ")", and an empty caption
// ends the template. Items are numbered depth-first in template order, brackets not
// counted.
class Menu : public ActionTarget {
  public:
    // A menu bar at the top of `form` (which keeps its client size and grows by the
    // bar), or a pop-up menu owned by it.
    static std::unique_ptr<Menu> CreateMenuBar(Form& form,
                                               const std::vector<std::string>& captions);
    static std::unique_ptr<Menu> CreatePopup(Form& form, const std::vector<std::string>& captions);
    ~Menu() override;

    int ItemCount() const;
    // The item's text as shown (a shortcut after a TAB); empty out of range.
    std::string ItemText(int index) const;
    bool ItemEnabled(int index) const;
    bool ItemVisible(int index) const;
    // Whether the item opens a submenu.
    bool ItemOpensSubmenu(int index) const;

    void SetOnClick(int index, std::function<void()> click);
    // Installs `shortcut` as the item's accelerator: pressed while the window is
    // active, it runs the item. A single key without modifiers acts on the key at the
    // same place whatever the keyboard layout; the keypad's keys are other keys.
    void SetAccelerator(int index, const Shortcut& shortcut);
    // Chooses the item as the user would; a disabled item ignores it.
    void Click(int index);

    // Shows the pop-up menu at a point of the desktop and runs the chosen item.
    void ShowPopup(const Point& at);

    void BindClick(const ActionLink& link, std::function<void()> click) override;
    void Update(const ActionLink& link, const Action& action) override;

    // What the platform's menu is made of; each implementation of the layer defines it.
    struct Native;
    Native& Parts() const { return *Impl; }

  private:
    explicit Menu(Form& form);
    std::unique_ptr<Native> Impl;
};

} // namespace kadromir::ui
