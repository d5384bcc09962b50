#include "action_list.h"

#include "form.h"
#include "menu.h"
#include "toolbar.h"

namespace kadromir::ui {

void Action::SetCaption(std::string_view text) {
    std::string caption(text);
    std::string shortcut;
    if (const auto tab = text.find('\t'); tab != std::string_view::npos) {
        caption = std::string(text.substr(0, tab));
        shortcut = std::string(text.substr(tab + 1));
    }
    if (caption != CaptionText || shortcut != ShortcutName) {
        CaptionText = std::move(caption);
        ShortcutName = std::move(shortcut);
        UpdateTargets();
    }
}

void Action::SetHint(std::string_view text) {
    if (text != HintText) {
        HintText = std::string(text);
        UpdateTargets();
    }
}

void Action::SetEnabled(bool enabled) {
    if (enabled != IsEnabled) {
        IsEnabled = enabled;
        UpdateTargets();
    }
}

void Action::SetVisible(bool visible) {
    if (visible != IsVisible) {
        IsVisible = visible;
        UpdateTargets();
    }
}

void Action::SetOnExecute(std::function<void(Action&)> handler) {
    // Handlers cannot be compared; setting one always counts as a change.
    OnExecute = std::move(handler);
    UpdateTargets();
}

void Action::SetShortcut(const ui::Shortcut& keys) {
    if (keys != Keys) {
        Keys = keys;
        ShortcutName = ShortcutDisplayText(keys);
        UpdateTargets();
    }
}

void Action::LinkMenuItem(Menu& menu, int itemIndex) {
    LinkTarget(menu, LinkKind::MenuItem, itemIndex);
}

void Action::LinkToolbarButton(Toolbar& toolbar, int buttonIndex) {
    LinkTarget(toolbar, LinkKind::ToolbarButton, buttonIndex);
}

void Action::LinkTarget(ActionTarget& target, LinkKind kind, int key) {
    LinkList.push_back(ActionLink{&target, kind, key});
    const ActionLink& link = LinkList.back();
    target.BindClick(link, [this] { Execute(); });
    target.Update(link, *this);
}

bool Action::Execute() {
    if (!OnExecute || !IsEnabled) {
        return false;
    }
    OnExecute(*this);
    return true;
}

void Action::UpdateTargets() {
    for (const ActionLink& link : LinkList) {
        link.Target->Update(link, *this);
    }
}

ActionList::ActionList(Form& owner) : Owner(owner) {
    owner.AddIdleHandler(this, [this] { Idle(); });
}

ActionList::~ActionList() {
    Owner.RemoveIdleHandler(this);
}

Action& ActionList::CreateAction(std::string_view caption, std::string_view hint,
                                 std::function<void(Action&)> onExecute) {
    ActionItems.push_back(std::unique_ptr<Action>(new Action()));
    Action& action = *ActionItems.back();
    action.SetCaption(caption);
    action.SetHint(hint);
    if (onExecute) {
        action.SetOnExecute(std::move(onExecute));
    }
    return action;
}

void ActionList::Idle() {
    if (OnUpdateActions && Owner.IsActiveWindow()) {
        OnUpdateActions(*this);
    }
}

} // namespace kadromir::ui
