#pragma once

#include "action_target.h"

#include <functional>
#include <memory>
#include <string>

namespace kadromir::ui {

class Form;
class Menu;

// The platform style's images for the toolbar.
enum class ToolbarImage { OpenFile, Back, Forward };

// A toolbar docked at the top of a form's client area, across its whole width: buttons
// with text beside an image, tooltips, click handlers and enabled states.
class Toolbar : public ActionTarget {
  public:
    explicit Toolbar(Form& form);
    ~Toolbar() override;

    int AddButton(const std::string& text, ToolbarImage image);
    int ButtonCount() const;

    std::string ButtonText(int index) const;
    void SetButtonText(int index, const std::string& text);
    std::string Tooltip(int index) const;
    void SetTooltip(int index, const std::string& text);
    bool IsEnabled(int index) const;
    void SetEnabled(int index, bool enabled);
    void SetOnClick(int index, std::function<void()> click);
    // Clicks a button as the user would; a disabled button ignores it.
    void Click(int index);

    // The pop-up menu shown where the user asks for a context menu on the toolbar.
    void SetContextMenu(Menu& menu);
    // The strip's height: the client area below it is free.
    int Height() const;

    void BindClick(const ActionLink& link, std::function<void()> click) override;
    void Update(const ActionLink& link, const Action& action) override;

    // What the platform's toolbar is made of; each implementation of the layer defines it.
    struct Native;
    Native& Parts() const { return *Impl; }

  private:
    std::unique_ptr<Native> Impl;
};

} // namespace kadromir::ui
