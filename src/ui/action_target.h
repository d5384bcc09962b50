#pragma once

#include <functional>

namespace kadromir::ui {

class Action;
struct ActionLink;

// What an action can be linked to: a menu (its items) or a toolbar (its buttons).
class ActionTarget {
  public:
    virtual ~ActionTarget() = default;
    // Makes a click on the linked item or button run `click`.
    virtual void BindClick(const ActionLink& link, std::function<void()> click) = 0;
    // Brings the linked item or button into line with the action, changing only
    // what differs.
    virtual void Update(const ActionLink& link, const Action& action) = 0;
};

enum class LinkKind { MenuItem = 1, ToolbarButton = 2 };

struct ActionLink {
    ActionTarget* Target = nullptr;
    LinkKind Kind = LinkKind::MenuItem;
    // The item's or button's position: depth-first among a menu's items, in order
    // among a toolbar's buttons.
    int Key = 0;
};

} // namespace kadromir::ui
