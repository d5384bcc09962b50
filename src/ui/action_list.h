#pragma once

#include "action_target.h"
#include "keys.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kadromir::ui {

class ActionList;
class Form;
class Menu;
class Toolbar;

// One command shared by menu items and toolbar buttons. Every change of caption,
// hint, enabled, visible or shortcut updates the linked targets, and only when the
// value really changes. A click on any linked target runs Execute().
class Action {
  public:
    const std::string& Caption() const { return CaptionText; }
    const std::string& ShortcutText() const { return ShortcutName; }
    const std::string& Hint() const { return HintText; }
    bool Enabled() const { return IsEnabled; }
    bool Visible() const { return IsVisible; }
    const ui::Shortcut& Shortcut() const { return Keys; }

    // A TAB splits the text: before it the caption, after it the shortcut text.
    void SetCaption(std::string_view text);
    void SetHint(std::string_view text);
    void SetEnabled(bool enabled);
    void SetVisible(bool visible);
    void SetOnExecute(std::function<void(Action&)> handler);
    // Sets the shortcut and, when it changes, the shortcut text to its display name.
    void SetShortcut(const ui::Shortcut& keys);

    void LinkMenuItem(Menu& menu, int itemIndex);
    void LinkToolbarButton(Toolbar& toolbar, int buttonIndex);
    void LinkTarget(ActionTarget& target, LinkKind kind, int key);

    // Runs the handler with this action as sender, only when one is set and the
    // action is enabled. Returns whether it ran.
    bool Execute();

  private:
    friend class ActionList;
    Action() = default;
    void UpdateTargets();

    std::vector<ActionLink> LinkList;
    std::string CaptionText;
    std::string ShortcutName;
    std::string HintText;
    bool IsVisible = true;
    bool IsEnabled = true;
    std::function<void(Action&)> OnExecute;
    ui::Shortcut Keys;
};

// The actions of one window. While the application is idle and the owner's window
// is the active window, the update-actions handler runs (when one is set).
class ActionList {
  public:
    explicit ActionList(Form& owner);
    ~ActionList();
    ActionList(const ActionList&) = delete;
    ActionList& operator=(const ActionList&) = delete;

    Action& CreateAction(std::string_view caption, std::string_view hint,
                         std::function<void(Action&)> onExecute);
    const std::vector<std::unique_ptr<Action>>& Actions() const { return ActionItems; }

    std::function<void(ActionList&)> OnUpdateActions;
    // What idle processing does; public so that tests can run it directly.
    void Idle();

  private:
    Form& Owner;
    std::vector<std::unique_ptr<Action>> ActionItems;
};

} // namespace kadromir::ui
